#!/usr/bin/env bash
# Runs one command inside a Wine session of its own: a private X display (Xvfb), a Wine prefix
# kept in WORK between runs, and a warm wineserver for the command's lifetime. Used by the
# start-up benchmark and by scripts/screenshot.
#
#   wine-session.sh --work DIR [--screen WxHxD] -- COMMAND [ARGS]
#
# COMMAND sees DISPLAY, WINEPREFIX, WINEDEBUG=-all and ULMORA_WINE, a script in WORK that runs
# wine in a private zh_CN.UTF-8 locale (code page 936). One session per WORK at a time.
set -euo pipefail

work= screen=1024x768x24
while [ $# -gt 0 ]; do
  case "$1" in
    --work) work=$2; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "wine-session: unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$work" ] && [ $# -ge 1 ] || { echo "usage: wine-session.sh --work DIR -- COMMAND" >&2; exit 2; }
mkdir -p "$work"
work=$(cd "$work" && pwd)
log() { echo "wine-session: $*" >&2; }

wine_bin=$(command -v wine) || { log "wine is not installed (scripts/install-deps)"; exit 2; }
# Debian's /usr/bin/wineserver is a wrapper that forces -p0 (the server exits with its last
# client); the warm server needs the binary itself.
wineserver=
for candidate in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver \
    "$(dirname "$(readlink -f "$wine_bin")")/wineserver64"; do
  if [ -x "$candidate" ] && [ "$(head -c 4 "$candidate" | od -An -c | tr -d ' ')" = '177ELF' ]; then
    wineserver=$candidate
    break
  fi
done
[ -n "$wineserver" ] || { log "no wineserver binary found"; exit 2; }

export WINEDEBUG=-all WINEARCH=win64
# Wine: no menu entries or file associations under the home folder, no Mono or Gecko prompts.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
export WINEPREFIX=$work/prefix
unset LANGUAGE

# Wine takes GetACP() from LC_ALL and its file-name code page from the C library's locale; a
# private zh_CN.UTF-8 gives both without touching the system's locales.
locale_dir=$work/locale
if [ ! -f "$locale_dir/zh_CN.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$locale_dir"
  localedef -i zh_CN -f UTF-8 "$locale_dir/zh_CN.UTF-8" 2>/dev/null || true
  [ -f "$locale_dir/zh_CN.UTF-8/LC_CTYPE" ] || { log "localedef failed (package locales)"; exit 2; }
fi
cat >"$work/wine" <<WINE
#!/bin/sh
LOCPATH='$locale_dir' LC_ALL=zh_CN.UTF-8 exec '$wine_bin' "\$@"
WINE
chmod +x "$work/wine"
export ULMORA_WINE=$work/wine

# Managed=N: Wine draws the frames itself and does not wait 2 s for a window manager on every
# hide or destroy of a top-level window.
if ! grep -qs '"Managed"="N"' "$WINEPREFIX/user.reg"; then
  log "making the Wine prefix (once)"
  rm -rf "$WINEPREFIX"
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n' \
    >"$work/managed.reg"
  (
    unset DISPLAY
    "$ULMORA_WINE" wineboot -i
    "$ULMORA_WINE" regedit /S "$(echo "Z:$work/managed.reg" | tr / '\\')"
    "$wineserver" -w
  ) >"$work/wineboot.log" 2>&1 </dev/null || { log "wineboot failed, see $work/wineboot.log"; exit 1; }
  grep -qs '"Managed"="N"' "$WINEPREFIX/user.reg" || { log "registry set-up failed"; exit 1; }
fi

# Wine: the caption buttons are glyphs of Marlett, which Debian's Wine does not find in its data
# folder by itself; without it they draw as letters.
if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
  for font in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
    [ -f "$font" ] && cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/" && break
  done
fi

xvfb_pid=
server_started=
teardown() {
  local rc=$?
  if [ -n "$server_started" ]; then
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  exit $rc
}
trap teardown EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display and writes its number once it accepts connections.
rm -f "$work/display"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$work/display" \
  </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  grep -q '^[0-9]' "$work/display" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || { log "Xvfb did not start, see $work/xvfb.log"; exit 1; }
  sleep 0.1
done
grep -q '^[0-9]' "$work/display" || { log "Xvfb reported no display"; exit 1; }
export DISPLAY=:$(head -n1 "$work/display" | tr -d '[:space:]')

# The warm server. Its stdio must not be the caller's pipes, or they would stay open after the
# session has ended.
"$wineserver" -k 2>/dev/null || true  # a server left behind by an interrupted session
LOCPATH=$locale_dir LC_ALL=zh_CN.UTF-8 "$wineserver" -p </dev/null >"$work/wineserver.log" 2>&1
server_started=1

"$@"
