#!/bin/sh
# Installs what is missing, builds every preset and runs every test:
# host, win64 (under wine64), win32 (the shipped DLL, its tests under 32-bit
# Wine), host-asan (AddressSanitizer and UndefinedBehaviorSanitizer),
# host-tsan (ThreadSanitizer over the HTTP, web client and account facade
# tests) and a bounded run of every fuzz target. FUZZ_SECONDS sets the time
# per fuzz target.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
started=$(date +%s)
stage() { echo "==== $1 (at $(($(date +%s) - started)) s)"; }
for preset in host win64 win32 host-asan host-tsan; do
  stage "$preset"
  cmake --workflow --preset "$preset"
done
stage fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
scripts/run-fuzzers.sh build/fuzz/bin "${FUZZ_SECONDS:-30}"
stage done
