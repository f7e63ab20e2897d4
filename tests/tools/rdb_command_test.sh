#!/bin/sh
# The account commands of the front end against the stand-in the fixture
# started, with the passwords and names a new user types.
# Usage: rdb_command_test.sh VELINST PORT_FILE ADMIN_USER ADMIN_PASSWORD
set -eu
velinst=$1 port_file=$2 admin_user=$3 admin_password=$4
VELINST_REGISTRY_DIR=$(mktemp -d)
export VELINST_REGISTRY_DIR
trap 'rm -rf "$VELINST_REGISTRY_DIR"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
field() { printf '%s\n' "$2" | sed -n "s/^$1: //p"; }

"$velinst" reg set 'HKLM\Software\Corvane\Ridgeline Professional\6.00\URL\RidgelineMobile\server' @ \
  "127.0.0.1:$(head -n 1 "$port_file")" >/dev/null
admin=$(field token "$("$velinst" rdb-login "$admin_user" "$admin_password")")
[ -n "$admin" ] || fail "administrator's sign-in"

run=$$-$(date +%s)
n=0
for password in 'two words' 'a+b+c+d1' 'pa&ss-word1' '%41 = <b> "q" '"'r'"' #1'; do
  n=$((n + 1))
  user="ann $n&co=+%#<x> \"q\" 'r' $run"
  product="product $n & more $run"
  email="b+tag$n-$run@mail.test"
  out=$("$velinst" rdb-create-account "$admin" "$product" "$user" "$password" "Smith & Sons" "1 Main St" "" Bend OR \
    97701 "Ann & Bo" desk@mail.test 555-0100 Ann "O'Lee" "$email" 555-0101) || fail "create with [$password]: $out"
  out=$("$velinst" rdb-login "$user" "$password") || fail "login with [$password]: $out"
  token=$(field token "$out") id=$(field 'user id' "$out")
  out=$("$velinst" rdb-user-info "$token" "$id") || fail "user info: $out"
  [ "$(field 'user name' "$out")" = "$user" ] || fail "user name read back: $out"
  [ "$(field 'e-mail' "$out")" = "$email" ] || fail "e-mail read back: $out"
  [ "$(field 'last name' "$out")" = "O'Lee" ] || fail "last name read back: $out"
  "$velinst" rdb-email-exists "$email" | grep -q '^exists: yes$' || fail "e-mail $email not found"
  "$velinst" rdb-find-account "$token" "$product" >/dev/null || fail "account of [$product]"
done
