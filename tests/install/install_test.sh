#!/bin/sh
# Installs the build into a staging folder, builds a consumer there once
# with find_package and once with pkg-config, runs both and the installed
# front end.
# Usage: install_test.sh BUILD_DIR CONSUMER_SOURCE_DIR
set -eu
build=$1 consumer=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$stage/usr" >/dev/null
libdir=$(dirname "$(find "$stage/usr" -name 'libvelinst.so.*.*' | head -n 1)")
[ -d "$libdir" ] || fail "no versioned libvelinst.so installed"
soname=$(objdump -p "$libdir"/libvelinst.so | awk '$1 == "SONAME" {print $2}')
case "$soname" in libvelinst.so.[0-9]*) ;; *) fail "SONAME is '$soname'" ;; esac
[ -e "$libdir/$soname" ] || fail "$soname is not installed"

# find_package
cmake -S "$consumer" -B "$stage/cmake-build" -DCMAKE_PREFIX_PATH="$stage/usr" >/dev/null
cmake --build "$stage/cmake-build" >/dev/null
[ "$("$stage/cmake-build/consumer")" = 5 ] || fail "find_package consumer did not print the OS code"

# pkg-config
export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
cc -o "$stage/pc-consumer" "$consumer/consumer.c" $(pkg-config --cflags --libs velinst)
[ "$(LD_LIBRARY_PATH="$(pkg-config --variable=libdir velinst)" "$stage/pc-consumer")" = 5 ] \
  || fail "pkg-config consumer did not print the OS code"

# The installed front end finds the installed library on its own.
[ "$(env -u LD_LIBRARY_PATH "$stage/usr/bin/velinst" os | head -n 1 | cut -c1)" = 5 ] || fail "installed front end"
[ -x "$stage/usr/bin/velinst-service" ] || fail "velinst-service is not installed"

echo "install: consumers built and ran against $soname"
