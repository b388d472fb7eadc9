#!/usr/bin/env bash
# Runs one end-to-end driver under Wine on a private X display and tears everything down again.
#
#   harness.sh --work DIR --name NAME [--screen WxHxD] [--program ulmora.exe] --recorder recorder.exe
#              [--helper NAME=EXE]... [--timeout SECONDS] -- driver.exe [driver arguments]
#
# DIR holds what is shared between runs (the private zh_CN locale and a template Wine prefix, made
# once) and what a run leaves behind (DIR/runs/NAME: logs and the recorder's log; screenshots go to
# DIR itself). Every run gets its own copy of the template prefix, its own wineserver and its own
# Xvfb, so runs never see each other's registry edits or windows and may run side by side.
#
# The driver sees:
#   ULMORA_E2E_PROGRAM    Windows path of the program under test (empty without --program)
#   ULMORA_E2E_RECORDER   Windows path of the stand-in browser inside the prefix
#   ULMORA_E2E_SCREEN     the screen size asked for, "WxH"
#   ULMORA_E2E_ARTEFACTS  Unix folder for screenshots and other keepsakes of the run
#   ULMORA_E2E_HELPER_<NAME>  Windows path of each test-only program given with --helper
# Set ULMORA_E2E_KEEP=1 to keep the run's prefix for a look afterwards.
set -euo pipefail

work= name= screen=1024x768x24 program= recorder= timeout=240 helpers=()
while [ $# -gt 0 ]; do
  case "$1" in
    --work) work=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    --program) program=$2; shift 2 ;;
    --recorder) recorder=$2; shift 2 ;;
    --helper) helpers+=("$2"); shift 2 ;;
    --timeout) timeout=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "harness: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$work" ] && [ -n "$name" ] && [ -n "$recorder" ] && [ $# -ge 1 ] || {
  echo "usage: harness.sh --work DIR --name NAME --recorder EXE [--program EXE] -- DRIVER [ARGS]" >&2
  exit 2
}
[[ "$screen" =~ ^[0-9]+x[0-9]+(x[0-9]+)?$ ]] || { echo "harness: bad --screen $screen" >&2; exit 2; }
[[ "$screen" =~ x[0-9]+x ]] || screen=${screen}x24
driver=$1; shift

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$work"
work=$(cd "$work" && pwd)
log() { echo "harness[$name]: $*" >&2; }

wine_bin=$(command -v wine) || { log "wine is not installed (scripts/install-deps)"; exit 2; }

# The wineserver binary itself. Debian's /usr/bin/wineserver is a shell wrapper that forces -p0
# (exit as soon as the last client goes), which throws away the warm server we want.
find_wineserver() {
  local wine_dir candidate
  wine_dir=$(dirname "$(readlink -f "$wine_bin")")
  for candidate in ${WINESERVER:-} /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver \
      "$wine_dir/wineserver64" "$wine_dir/wineserver" /usr/lib/x86_64-linux-gnu/wine/wineserver \
      /usr/libexec/wine/wineserver64 /usr/libexec/wine/wineserver "$(command -v wineserver || true)"; do
    [ -n "$candidate" ] && [ -x "$candidate" ] || continue
    # An ELF file, not a script wrapper around one.
    [ "$(head -c 4 "$candidate" | od -An -c | tr -d ' ')" = '177ELF' ] && { echo "$candidate"; return; }
  done
  return 1
}
wineserver=$(find_wineserver) || { log "no wineserver binary found"; exit 2; }

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# Wine: without this, wineboot and later starts create menu entries and file associations
# under the user's home folder.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
unset WINESERVER

# Wine takes its Unix file-name code page from the C library's locale, and GetACP() from LC_ALL:
# a private zh_CN.UTF-8 gives code page 936 and intact Chinese file names without touching the
# system's locales.
locale_dir=$work/locale
# Only Wine gets the locale; the shell itself cannot switch to it without warnings.
in_locale=(env LOCPATH="$locale_dir" LC_ALL=zh_CN.UTF-8)
template=$work/wine-template
stand_in=C:\\e2e\\recorder.exe

make_shared() {
  if [ ! -f "$locale_dir/zh_CN.UTF-8/LC_CTYPE" ]; then
    log "generating the zh_CN.UTF-8 locale"
    mkdir -p "$locale_dir"
    localedef -i zh_CN -f UTF-8 "$locale_dir/zh_CN.UTF-8" 2>/dev/null || true
    [ -f "$locale_dir/zh_CN.UTF-8/LC_CTYPE" ] || { log "localedef failed (package locales)"; return 1; }
  fi

  local reg_text stamp
  # Managed=N: Wine draws the frame itself and does not wait for a window manager that is not
  # there (without it every hide or destroy of a top-level window stalls for 2 s).
  # The stand-in browser answers http and https; ".htm" names a class of its own whose command
  # has an extra argument before the placeholder, so the fallback's cut is visible in a record.
  reg_text=$(cat <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"

[-HKEY_CLASSES_ROOT\\http]
[HKEY_CLASSES_ROOT\\http\\shell\\open\\command]
@="\\"${stand_in//\\/\\\\}\\" \\"%1\\""

[-HKEY_CLASSES_ROOT\\https]
[HKEY_CLASSES_ROOT\\https\\shell\\open\\command]
@="\\"${stand_in//\\/\\\\}\\" \\"%1\\""

[HKEY_CLASSES_ROOT\\.htm]
@="UlmoraE2E.htm"

[HKEY_CLASSES_ROOT\\UlmoraE2E.htm\\shell\\open\\command]
@="\\"${stand_in//\\/\\\\}\\" -x \\"%1\\""
REG
)
  # Made again when Wine or this script (the registry text included) changes.
  stamp="$("$wine_bin" --version) $(md5sum <"${BASH_SOURCE[0]}" | cut -d' ' -f1)"
  [ -f "$template/.e2e-stamp" ] && [ "$(cat "$template/.e2e-stamp")" = "$stamp" ] && return 0

  log "making the template Wine prefix (once)"
  rm -rf "$template"
  printf '%s\n' "$reg_text" | sed 's/$/\r/' >"$work/stand-in.reg"
  (
    export WINEPREFIX=$template
    # Wine: no Mono or Gecko installer prompts; no display is needed for any of this.
    export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
    unset DISPLAY
    "${in_locale[@]}" "$wine_bin" wineboot -i >"$work/wineboot.log" 2>&1
    "${in_locale[@]}" "$wine_bin" regedit /S "$(echo "Z:$work/stand-in.reg" | tr / '\\')" >>"$work/wineboot.log" 2>&1
    "$wineserver" -w
  ) || { log "wineboot failed, see $work/wineboot.log"; return 1; }
  grep -q '"Managed"="N"' "$template/user.reg" || { log "registry set-up failed"; return 1; }
  # Wine: this build never looks in its own data folder for fonts, so the caption buttons would
  # be drawn as the letters that stand for them in Marlett. Fonts in C:\windows\Fonts are loaded.
  local marlett
  for marlett in /usr/share/wine/fonts/marlett.ttf \
      "$(dirname "$(readlink -f "$wine_bin")")/../share/wine/fonts/marlett.ttf"; do
    [ -f "$marlett" ] && { cp "$marlett" "$template/drive_c/windows/Fonts/"; break; }
  done
  echo "$stamp" >"$template/.e2e-stamp"
}


run=$work/runs/$name
prefix=$run/prefix
xvfb_pid=
server_started=

teardown() {
  local rc=$?
  if [ -n "$server_started" ]; then
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
    WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [ "${ULMORA_E2E_KEEP:-}" = 1 ] || rm -rf "$prefix"
  exit $rc
}
trap teardown EXIT
trap 'exit 130' INT TERM

rm -rf "$run"
mkdir -p "$run"
# One run at a time makes the shared pieces (later runs only check the stamp) and copies the
# template, so that no run copies a template that another one is making again.
exec 9>"$work/.shared.lock"
flock 9
make_shared
cp -a "$template" "$prefix"
flock -u 9
exec 9>&-
mkdir -p "$prefix/drive_c/e2e"
cp "$recorder" "$prefix/drive_c/e2e/recorder.exe"

# Xvfb picks a free display itself and writes its number once it accepts connections.
size=${screen%x*}
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$run/display" \
  </dev/null >"$run/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  grep -q '^[0-9]' "$run/display" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || { log "Xvfb did not start, see $run/xvfb.log"; exit 1; }
  sleep 0.1
done
display=:$(head -n1 "$run/display" | tr -d '[:space:]')
[ "$display" != : ] || { log "Xvfb reported no display"; exit 1; }

export DISPLAY=$display WINEPREFIX=$prefix
unset LANGUAGE

# A warm server: every later start then takes tens of milliseconds. Its stdio must not be ctest's
# pipes, or ctest would wait for the daemon after the test has ended.
"${in_locale[@]}" "$wineserver" -p </dev/null >"$run/wineserver.log" 2>&1
server_started=1

winpath() { echo "Z:$(readlink -f "$1")" | tr / '\\'; }
export ULMORA_E2E_PROGRAM=
[ -z "$program" ] || ULMORA_E2E_PROGRAM=$(winpath "$program")
export ULMORA_E2E_RECORDER=$stand_in
export ULMORA_E2E_SCREEN=$size
export ULMORA_E2E_ARTEFACTS=$work
for helper in "${helpers[@]}"; do
  helper_name=${helper%%=*}
  [[ "$helper_name" =~ ^[A-Z0-9_]+$ ]] && [ -f "${helper#*=}" ] || { log "bad --helper $helper"; exit 2; }
  export "ULMORA_E2E_HELPER_$helper_name=$(winpath "${helper#*=}")"
done

log "display $display, screen $size, prefix $prefix"
set +e
"${in_locale[@]}" timeout --kill-after=10 "$timeout" "$wine_bin" "$driver" "$@"
rc=$?
set -e
[ $rc -ne 124 ] || log "driver timed out after ${timeout}s"
exit $rc
