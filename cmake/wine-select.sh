# Sourced with $arch set to win32 or win64: sets $wine, the loader of that
# width, $wineserver and WINEARCH. The server is called directly: the
# wineserver wrapper of a system with both Wines leaves no persistent server.
# Once 32-bit Wine is installed, plain "wine" picks it, so the 64-bit runs
# name wine64 themselves.
case "$arch" in
win64)
  wine=/usr/lib/wine/wine64
  [ -x "$wine" ] || wine=$(command -v wine64 || echo "$wine")
  ;;
win32)
  wine=/usr/lib/wine/wine
  ;;
*)
  echo "wine: unknown width $arch (win32 or win64)" >&2
  exit 2
  ;;
esac
export WINEARCH="$arch"
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo "$wineserver")
