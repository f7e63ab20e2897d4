#!/bin/sh
# Installs every Debian package that building and testing velinst needs, and
# what the win32 tests need to run the shipped DLL under 32-bit Wine: the
# i386 architecture with wine32, and, where the kernel cannot execute i386
# programs itself, qemu-user from the backports suite of the archive that
# this machine's apt sources already name, registered as their handler.
# Safe to run again: what is present is neither fetched nor set up again.
# Not root, it uses sudo; without sudo it prints the commands to run as root.
set -eu
packages="
  cmake ninja-build g++ file binutils pkg-config
  clang-14 libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
  wine64 wine32:i386 nsis
  libxml2-dev libcurl4-openssl-dev nettle-dev libssl-dev libcpp-httplib-dev libsqlite3-dev
"
# Wine's 32-bit loader and the qemu-user release that can run it: older ones
# cannot reserve the address ranges Wine asks for.
wine32_loader=/usr/lib/wine/wine
qemu=/usr/bin/qemu-i386
qemu_least=1:10
binfmt=/proc/sys/fs/binfmt_misc
binfmt_rule=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F'

sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 && sudo_cmd=sudo
fi
# Runs one command as root; where that cannot be done, prints the command and
# stops.
as_root() {
  if [ "$(id -u)" -eq 0 ] || [ -n "$sudo_cmd" ]; then
    $sudo_cmd "$@" && return 0
    echo "install-deps: failed as root: $*" >&2
    exit 1
  fi
  echo "install-deps: not root and no sudo; run this as root, then this script again:" >&2
  printf '  %s\n' "$*" >&2
  exit 1
}
as_root_sh() { as_root sh -c "$1"; }

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# The i386 architecture, for wine32.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  as_root apt-get update -qq
fi

missing=""
for package in $packages; do
  installed "$package" || missing="$missing $package"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
fi

# Whether 32-bit Wine starts: its loader is an i386 program.
wine32_starts() { "$wine32_loader" --version >/dev/null 2>&1; }
wine32_starts && exit 0

# The release codename and the address of the Debian archive the apt sources
# name for it, in either source format.
. /etc/os-release
codename=$VERSION_CODENAME
archive=$(
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] && awk -v suite="$codename" '
      $1 == "deb" { n = 2; if ($2 ~ /^\[/) while (n <= NF && $n !~ /\]$/) n++; if ($2 ~ /^\[/) n++
                    if ($(n + 1) == suite) print $n }' "$file"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && awk -v suite="$codename" '
      /^[ \t]*$/ { if (uris != "" && suites ~ "(^| )" suite "( |$)") print uris; uris = suites = ""; next }
      tolower($1) == "uris:" { uris = $2 }
      tolower($1) == "suites:" { $1 = ""; suites = $0 " " }
      END { if (uris != "" && suites ~ "(^| )" suite "( |$)") print uris }' "$file"
  done | head -n 1
)
[ -n "$archive" ] || { echo "install-deps: no apt source names the $codename suite; cannot find its backports suite" >&2; exit 1; }

# The backports suite, pinned so that nothing but qemu-user comes from it.
backports_list=/etc/apt/sources.list.d/velinst-backports.list
backports_pin=/etc/apt/preferences.d/velinst-backports
if [ ! -f "$backports_list" ] || [ ! -f "$backports_pin" ]; then
  as_root_sh "printf '%s\n' 'deb $archive $codename-backports main' >$backports_list"
  as_root_sh "printf '%s\n' 'Package: *' 'Pin: release n=$codename-backports' 'Pin-Priority: -1' '' \
'Package: qemu-user' 'Pin: release n=$codename-backports' 'Pin-Priority: 990' >$backports_pin"
  as_root apt-get update -qq
fi
qemu_version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
if [ -z "$qemu_version" ] || ! dpkg --compare-versions "$qemu_version" ge "$qemu_least"; then
  echo "installing: qemu-user ($codename-backports)"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends qemu-user >/dev/null
fi

# The handler of i386 programs, replacing one that cannot run Wine.
if ! mountpoint -q "$binfmt"; then
  as_root mount -t binfmt_misc binfmt_misc "$binfmt"
fi
if [ -e "$binfmt/qemu-i386" ]; then
  as_root_sh "echo -1 >$binfmt/qemu-i386"
fi
as_root_sh "printf '%s\n' '$binfmt_rule' >$binfmt/register"
wine32_starts || { echo "install-deps: 32-bit Wine does not start even with $qemu as the i386 handler" >&2; exit 1; }
echo "install-deps: i386 programs run through $qemu"
