#!/bin/sh
# Runs a Windows test program under Wine in the build folder's own prefix:
# win64 programs under wine64, win32 programs under 32-bit Wine in a 32-bit
# prefix. Usage: wine-run.sh win32|win64 PREFIX PROGRAM [ARGS...]
# The prefix is created once (under a lock, as ctest may start several tests),
# and set up again when cmake/wine-prefix-setup.sh is newer than it.
set -e
arch=$1
prefix=$2
shift 2
here=$(dirname "$0")
. "$here/wine-select.sh"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
setup="$here/wine-prefix-setup.sh"
stale() { [ ! -f "$prefix/.velinst-ready" ] || { [ -x "$setup" ] && [ "$setup" -nt "$prefix/.velinst-ready" ]; }; }
if stale; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if stale; then
      "$wine" wineboot -i >/dev/null 2>&1 || true
      [ -x "$setup" ] && "$setup" "$arch" "$prefix"
      "$wineserver" -w 2>/dev/null || true
      touch "$prefix/.velinst-ready"
    fi
  ) 9>"$prefix.lock"
fi
# A server that outlives each test program saves its start-up (seconds) on
# every test; it ends by itself a minute after the last program.
"$wineserver" -p 60 </dev/null >/dev/null 2>&1 || true
# Wine's own background processes inherit the output of the program that
# started them and outlive it; ctest would wait for them to close its pipe.
# So the program writes to a file, which is copied out when it ends.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
"$wine" "$@" </dev/null >"$output" 2>&1 || status=$?
cat "$output"
exit $status
