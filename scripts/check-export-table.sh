#!/bin/sh
# Checks a built library against the contract: the header, the
# module-definition file and the version script name the same exports, and
# the library exports exactly those names, undecorated. For the Windows
# builds it also checks the file type and that only system DLLs are imported.
# Usage: check-export-table.sh SOURCE_DIR LIBRARY host|win64|win32
set -eu
src=$1 lib=$2 kind=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "export table: $*" >&2; exit 1; }

grep -oE 'VELAPI VEL_[A-Za-z0-9_]+\(' "$src/include/velinst.h" | sed 's/VELAPI //; s/($//' | sort >"$tmp/header"
sed -n '/^EXPORTS/,$p' "$src/src/exports/velinst.def" | sed '1d' | awk 'NF {print $1}' | sort >"$tmp/def"
sed -n '/global:/,/local:/p' "$src/src/exports/velinst.map" | grep -oE 'VEL_[A-Za-z0-9_]+' | sort >"$tmp/map"
[ -s "$tmp/header" ] || fail "the header declares no export"
diff -u "$tmp/header" "$tmp/def" >&2 || fail "velinst.def differs from velinst.h"
diff -u "$tmp/header" "$tmp/map" >&2 || fail "velinst.map differs from velinst.h"

case "$kind" in
host)
  nm -D --defined-only "$lib" | awk '{print $NF}' | sort >"$tmp/exported"
  ;;
win64|win32)
  objdump -p "$lib" >"$tmp/dump"
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' "$tmp/dump" | sed '1d' | awk 'NF {print $NF}' | sort >"$tmp/exported"
  if [ "$kind" = win32 ]; then
    file "$lib" | grep -q 'PE32 executable (DLL).*Intel 80386' || fail "not a PE32 DLL for Intel 80386: $(file "$lib")"
  else
    file "$lib" | grep -q 'PE32+ executable (DLL).*x86-64' || fail "not a PE32+ DLL for x86-64: $(file "$lib")"
  fi
  grep 'DLL Name:' "$tmp/dump" | awk '{print tolower($3)}' | sort -u >"$tmp/imports"
  system='^(kernel32|user32|advapi32|shell32|ole32|oleaut32|wininet|netapi32|crypt32|ws2_32|msvcrt|version|shlwapi|api-ms-win-[a-z0-9-]+)\.dll$'
  bad=$(grep -vE "$system" "$tmp/imports" || true)
  [ -z "$bad" ] || fail "imports DLLs that are not the system's: $bad"
  ;;
*) fail "unknown kind $kind" ;;
esac
diff -u "$tmp/header" "$tmp/exported" >&2 || fail "$lib exports other names than velinst.h declares"
echo "export table: $(wc -l <"$tmp/header") exports match ($kind)"
