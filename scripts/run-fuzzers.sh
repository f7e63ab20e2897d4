#!/bin/sh
# Runs every fuzz target in BIN_DIR for SECONDS, starting from its seeds
# (fuzz/<name>/seeds for target fuzz_<name>), as many at once as there are
# processors. New inputs go to a scratch corpus; the seed folders are not
# changed. A crash fails the run; its input is kept in BIN_DIR/../artifacts
# and shown in Base64 in the log.
set -eu
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
cd "$(dirname "$0")/.."

# One target: run-fuzzers.sh --one TARGET SECONDS SCRATCH ARTIFACTS
if [ "${1:-}" = --one ]; then
  target=$2 seconds=$3 scratch=$4 artifacts=$5
  name=$(basename "$target" | sed 's/^fuzz_//')
  mkdir -p "$scratch/$name"
  [ -d "fuzz/$name/seeds" ] && cp -r "fuzz/$name/seeds/." "$scratch/$name/"
  rm -f "$artifacts/$name"-*
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
    -artifact_prefix="$artifacts/$name-" "$scratch/$name" >"$scratch/$name.log" 2>&1; then
    echo "fuzzed $name for ${seconds}s: $(tail -n 1 "$scratch/$name.log")"
    exit 0
  fi
  {
    tail -n 40 "$scratch/$name.log"
    for input in "$artifacts/$name"-*; do
      [ -f "$input" ] || continue
      echo "input kept in $input, in Base64:"
      head -c 4096 "$input" | base64
    done
    echo "fuzz target $name failed"
  } >&2
  exit 1
fi

bin=$1 seconds=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
artifacts=$(cd "$bin/.." && pwd)/artifacts
mkdir -p "$artifacts"
targets=$(find "$bin" -maxdepth 1 -name 'fuzz_*' -type f -perm -u+x | sort)
[ -n "$targets" ] || { echo "no fuzz targets in $bin" >&2; exit 1; }
count=$(echo "$targets" | wc -l)
echo "fuzzing $count targets for ${seconds}s each, $(nproc) at a time"
echo "$targets" | xargs -P "$(nproc)" -I{} "$self" --one {} "$seconds" "$scratch" "$artifacts" || {
  echo "fuzzing failed" >&2
  exit 1
}
echo "fuzzing: $count targets passed"
