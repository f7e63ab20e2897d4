#!/bin/sh
# Installs what is missing, builds the host library and its front end, and
# runs the main job through the loaded library.
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
