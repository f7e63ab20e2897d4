#!/bin/sh
# Gives a fresh test prefix what the Windows tests need beyond wineboot:
# drive D: of the CD-ROM type (backed by an empty folder), for the autoplay
# and eject tests, and the shell's key of autoplay cancel classes, where the
# library lists itself when it is loaded.
# Usage: wine-prefix-setup.sh win32|win64 PREFIX
set -e
arch=$1
prefix=$2
. "$(dirname "$0")/wine-select.sh"
export WINEPREFIX="$prefix" WINEDEBUG=-all
mkdir -p "$prefix/cdrom-d"
ln -sfn ../cdrom-d "$prefix/dosdevices/d:"
"$wine" reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d cdrom /f >/dev/null 2>&1
"$wine" reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer\AutoplayHandlers\CancelAutoplay\CLSID' \
  /f >/dev/null 2>&1
# Drive types are read when the server starts: end this one (it saves the
# registry) so that the next program starts a fresh one.
"$wineserver" -k 2>/dev/null || true
