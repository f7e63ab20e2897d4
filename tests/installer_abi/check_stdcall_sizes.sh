#!/bin/sh
# The argument size in each stdcall export's compiled name (VEL_ShellExec@8)
# must be the one its declaration in velinst.h gives: the object built from
# the header references the names the header implies, the libraries define
# the names the compiler gave the definitions.
# Usage: check_stdcall_sizes.sh NM HEADER_REFERENCES_OBJECT LIBRARY...
set -eu
nm=$1 references=$2
shift 2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$nm" -u "$references" | awk '{print $NF}' | grep -E '^_VEL_' | sed 's/^_//' | sort -u >"$tmp/header"
for library; do "$nm" -g --defined-only "$library"; done |
  awk '$2 == "T" {print $3}' | grep -E '^_VEL_' | sed 's/^_//' | sort -u >"$tmp/compiled"
[ -s "$tmp/header" ] || { echo "the header declares no stdcall export"; exit 1; }
status=0
while read -r symbol; do
  name=${symbol%@*}
  compiled=$(grep -E "^$name(@|\$)" "$tmp/compiled" || true)
  if [ "$compiled" != "$symbol" ]; then
    echo "$name: the header's arguments make $symbol, the compiled export is ${compiled:-missing}"
    status=1
  fi
done <"$tmp/header"
[ $status -eq 0 ] && echo "$(wc -l <"$tmp/header") stdcall exports remove the arguments their declarations take"
exit $status
