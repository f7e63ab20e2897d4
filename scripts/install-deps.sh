#!/bin/sh
# Installs every Debian package that building and testing velinst needs.
# Packages already present are not fetched again.
set -eu
packages="
  cmake ninja-build g++ file binutils
  clang-14 libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
  wine64
  libxml2-dev libcurl4-openssl-dev nettle-dev libssl-dev libcpp-httplib-dev libsqlite3-dev
"
missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq $missing >/dev/null
fi
