#!/bin/sh
# Runs a command (the backend's test program under Wine) on a private X display with a Wine
# prefix and server of its own, and tears the display and server down afterwards.
#
#   run_on_display.sh PREFIX WINESERVER -- COMMAND...
#
# Windows need a display, and Wine binds its desktop to the display of the process that started
# it: the shared test fixture's server, started without one, can show no window at all. PREFIX is
# made once (with Managed=N, so that hiding or destroying a top-level window does not wait for a
# window manager that is not there) and then reused; one run at a time holds it.
set -eu

if [ $# -lt 4 ] || [ "$3" != -- ]; then
  echo "usage: run_on_display.sh PREFIX WINESERVER -- COMMAND..." >&2
  exit 2
fi
prefix=$1 wineserver=$2
shift 3
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
export WINEPREFIX="$prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEARCH=win64
# Wine: no Mono or Gecko installer prompts, no menu entries in the user's home folder.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"

exec 9>"$prefix.lock"
flock 9

xvfb_pid=
teardown() {
  rc=$?
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -f "$prefix.display"
  exit $rc
}
trap teardown EXIT
trap 'exit 130' INT TERM

stamp="$(wine --version) managed-n"
if [ "$(cat "$prefix/.win32-stamp" 2>/dev/null)" != "$stamp" ]; then
  (
    unset DISPLAY
    wine wineboot -i >"$prefix.log" 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$prefix.log" 2>&1
    "$wineserver" -w
  ) || { echo "run_on_display: making the prefix failed, see $prefix.log" >&2; exit 1; }
  echo "$stamp" >"$prefix/.win32-stamp"
fi

# Xvfb picks a free display itself and writes its number once it accepts connections.
rm -f "$prefix.display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$prefix.display" \
  </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
tries=0
until grep -q '^[0-9]' "$prefix.display" 2>/dev/null; do
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "run_on_display: Xvfb did not start" >&2; exit 1; }
  tries=$((tries + 1))
  [ $tries -lt 100 ] || { echo "run_on_display: Xvfb gave no display" >&2; exit 1; }
  sleep 0.1
done
DISPLAY=:$(head -n1 "$prefix.display" | tr -d '[:space:]')
export DISPLAY

# The server's stdio must not be ctest's pipes, or ctest would wait for it after the test.
"$wineserver" -p </dev/null >/dev/null 2>&1
set +e
"$@"
