#!/bin/sh
# Fails with one line saying why when the Wine of a width cannot start, so
# that the Windows tests never seem to pass without having run.
# Usage: wine-check.sh win32|win64
arch=$1
. "$(dirname "$0")/wine-select.sh"
fail() {
  echo "$arch tests cannot run: $*; scripts/install-deps.sh sets this up" >&2
  exit 1
}
[ -x "$wine" ] || fail "$wine is not installed"
"$wine" --version >/dev/null 2>&1 && exit 0
if [ "$arch" = win32 ]; then
  binfmt=/proc/sys/fs/binfmt_misc
  grep -qs '^enabled' "$binfmt/status" || fail "this kernel cannot execute i386 programs and binfmt_misc is not mounted"
  [ -e "$binfmt/qemu-i386" ] || fail "this kernel cannot execute i386 programs and no binfmt_misc handler is registered for them"
  [ "$(head -n 1 "$binfmt/qemu-i386")" = enabled ] || fail "this kernel cannot execute i386 programs and their binfmt_misc handler is disabled"
  fail "the i386 handler ($(sed -n 's/^interpreter //p' "$binfmt/qemu-i386")) cannot start $wine"
fi
fail "$wine does not start"
