#!/bin/sh
# Gives a fresh test prefix what the Windows tests need beyond wineboot:
# drive D: of the CD-ROM type (backed by an empty folder), for the autoplay
# and eject tests, and the shell's key of autoplay cancel classes, where the
# library lists itself when it is loaded. Usage: wine-prefix-setup.sh PREFIX
set -e
prefix=$1
export WINEPREFIX="$prefix" WINEDEBUG=-all
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
mkdir -p "$prefix/cdrom-d"
ln -sfn ../cdrom-d "$prefix/dosdevices/d:"
"$wine64" reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d cdrom /f >/dev/null 2>&1
"$wine64" reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer\AutoplayHandlers\CancelAutoplay\CLSID' \
  /f >/dev/null 2>&1
# Drive types are read when the server starts: end this one (it saves the
# registry) so that the next program starts a fresh one.
"$wineserver" -k 2>/dev/null || true
