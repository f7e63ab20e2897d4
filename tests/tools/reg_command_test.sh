#!/bin/sh
# velinst reg on the host's file store: set, query, import, delete.
set -eu
velinst=$1
VELINST_REGISTRY_DIR=$(mktemp -d)
export VELINST_REGISTRY_DIR
trap 'rm -rf "$VELINST_REGISTRY_DIR"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

"$velinst" reg set 'HKCU\Software\Vendor' Host service.example
"$velinst" reg set 'HKEY_CURRENT_USER\Software\Vendor' Retries dword:2a
"$velinst" reg set 'HKCU\Software\Vendor\Sub'
"$velinst" reg query 'HKCU\Software\Vendor' Host | grep -q 'Host    REG_SZ    service.example' || fail "query text"
"$velinst" reg query 'HKCU\Software\Vendor' retries | grep -q 'REG_DWORD    0x2a' || fail "query dword"
listing=$("$velinst" reg query 'HKCU\Software\Vendor')
echo "$listing" | grep -q '^HKEY_CURRENT_USER\\Software\\Vendor\\Sub$' || fail "subkey listed"
grep -q '^"Retries"=dword:0000002a$' "$VELINST_REGISTRY_DIR/HKEY_CURRENT_USER.reg" || fail "store file"
"$velinst" reg set 'HKCU\Software\Vendor' Bad dword:xyz 2>/dev/null && fail "bad dword accepted"

cat >"$VELINST_REGISTRY_DIR/script.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Imported]
"Name"="from a script"
REG
"$velinst" reg import "$VELINST_REGISTRY_DIR/script.reg"
"$velinst" reg query 'HKLM\Software\Imported' Name | grep -q 'from a script' || fail "imported"
"$velinst" reg import "$VELINST_REGISTRY_DIR/none.reg" >/dev/null && fail "missing script imported"

"$velinst" reg delete 'HKCU\Software\Vendor' Host
"$velinst" reg query 'HKCU\Software\Vendor' Host 2>/dev/null && fail "value deleted"
"$velinst" reg delete 'HKCU\Software\Vendor'
"$velinst" reg query 'HKCU\Software\Vendor' 2>/dev/null && fail "key deleted"
"$velinst" reg delete HKCU 2>/dev/null && fail "root deleted"
"$velinst" reg delete 'HKCU\Software\Missing' Host 2>/dev/null && fail "value of a missing key deleted"
"$velinst" reg query 'HKCU\Software\Missing' 2>/dev/null && fail "key created by a delete"
echo "reg command: ok"
