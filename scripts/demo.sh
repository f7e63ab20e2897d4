#!/bin/sh
# Installs what is missing, builds the host library and its front end, and
# runs the main job through the loaded library: the pack lists of a shipped
# example region, written and shown.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host --target velinst velinst_cli >/dev/null
velinst=build/host/bin/velinst
echo "\$ velinst os"
$velinst os
echo "\$ velinst shellexec /bin/echo 'hello from a program velinst started'"
$velinst shellexec /bin/echo "hello from a program velinst started"
for job in "packlist24k 24000 monterey_bay_24k.lst" "packlist100k 250000 monterey_bay_100k.lst"; do
  set -- $job
  list=build/host/$3
  echo "\$ velinst $1 examples/monterey_bay.rgn $list $2"
  $velinst "$1" examples/monterey_bay.rgn "$list" "$2"
  echo "\$ cat $list"
  cat "$list"
done
