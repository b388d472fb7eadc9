// The one door to the Windows headers for the backend. Nothing outside src/win32 includes this.
//
// Every call of the backend uses the ...A functions: the program's texts are bytes in the ANSI
// code page, and the system's behaviour (window text, shell, registry, command line) is defined
// in those bytes.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifdef UNICODE
#error "The backend calls the ANSI functions; build it without UNICODE."
#endif

#include <windows.h>

// Left out by WIN32_LEAN_AND_MEAN: ShellExecuteA and OleInitialize.
#include <ole2.h>
#include <shellapi.h>
