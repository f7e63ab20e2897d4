#!/bin/sh
# Makes the build's package with cpack in a scratch folder and checks that
# it holds each ENTRY (a path ending).
# Usage: package_test.sh BUILD_DIR ENTRY...
set -eu
build=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -B "$scratch" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log" >&2; exit 1; }
package=$(ls "$scratch"/velinst-*.zip "$scratch"/velinst-*.tar.gz 2>/dev/null | head -n 1)
[ -n "$package" ] || { echo "package: cpack made no archive" >&2; exit 1; }
(cd "$scratch" && cmake -E tar tf "$package") >"$scratch/listing"
for entry in "$@"; do
  grep -q "$entry\$" "$scratch/listing" || { echo "package: $(basename "$package") lacks $entry" >&2; exit 1; }
done
echo "package: $(basename "$package") holds $(wc -l <"$scratch/listing") entries"
