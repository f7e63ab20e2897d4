#!/bin/sh
# Runs every fuzz target in BIN_DIR for SECONDS, starting from its seeds
# (fuzz/<name>/seeds for target fuzz_<name>). New inputs go to a scratch
# corpus; the seed folders are not changed. A crash fails the run; its
# input is kept in BIN_DIR/../artifacts and shown in Base64 in the log.
set -eu
bin=$1 seconds=$2
cd "$(dirname "$0")/.."
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
artifacts=$(cd "$bin/.." && pwd)/artifacts
mkdir -p "$artifacts"
count=0
for target in "$bin"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target" | sed 's/^fuzz_//')
  mkdir -p "$scratch/$name"
  [ -d "fuzz/$name/seeds" ] && cp -r "fuzz/$name/seeds/." "$scratch/$name/"
  rm -f "$artifacts/$name"-*
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
    -artifact_prefix="$artifacts/$name-" "$scratch/$name" >"$scratch/$name.log" 2>&1 || {
    tail -n 40 "$scratch/$name.log"
    for input in "$artifacts/$name"-*; do
      [ -f "$input" ] || continue
      echo "input kept in $input, in Base64:"
      head -c 4096 "$input" | base64
    done
    echo "fuzz target $name failed" >&2
    exit 1
  }
  grep -E '^#[0-9]+ *DONE' "$scratch/$name.log" || tail -n 1 "$scratch/$name.log"
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no fuzz targets in $bin" >&2; exit 1; }
echo "fuzzing: $count targets passed"
