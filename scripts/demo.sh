#!/bin/sh
# Installs what is missing, builds the host library, its front end and the
# account-service stand-in, and runs the main job through the loaded library:
# the installer helpers, the pack lists of a shipped example region, written
# and shown, then an installer's account steps against the stand-in on this
# machine.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host --target velinst velinst_cli velinst-service >/dev/null
velinst=build/host/bin/velinst
service=build/host/bin/velinst-service

# Shows a command, then runs it (printf: dash's echo would read the
# registry key's backslashes as escapes).
show() { printf '$ %s\n' "$*"; }
step() {
  show "$@"
  "$@"
}

step $velinst os
step $velinst shellexec /bin/echo "hello from a program velinst started"
for job in "packlist24k 24000 monterey_bay_24k.lst" "packlist100k 250000 monterey_bay_100k.lst"; do
  set -- $job
  list=build/host/$3
  step $velinst "$1" examples/monterey_bay.rgn "$list" "$2"
  step cat "$list"
done

# The stand-in keeps its accounts in a database file across runs. The
# registry it is announced in lives in the demo's folder too, so the
# user's own stays untouched.
demo=$PWD/build/host/demo
mkdir -p "$demo"
export VELINST_REGISTRY_DIR="$demo/registry"
admin_user=demo-admin admin_password=demo-secret
# The password through the environment: a command line is visible to every
# local user.
export VELINST_DEMO_ADMIN_PASSWORD="$admin_password"
step $service --listen 127.0.0.1:0 --db "$demo/velinst-service.db" \
  --admin "$admin_user" --admin-password-env VELINST_DEMO_ADMIN_PASSWORD \
  --port-file "$demo/service.port" --detach --idle-exit 600
trap '$service --stop --port-file "$demo/service.port"' EXIT
port=$(head -n 1 "$demo/service.port")

# Where the account exports look for the service: the key's default value.
server_key='HKLM\Software\Corvane\Ridgeline Professional\6.00\URL\RidgelineMobile\server'
step $velinst reg set "$server_key" @ "127.0.0.1:$port"
step $velinst reg query "$server_key"

# A field of a front-end command's "name: value" output.
field() { printf '%s\n' "$2" | sed -n "s/^$1: //p"; }

# Shows and runs a command, keeping its output in $output as well.
keep() {
  show "$@"
  output=$("$@")
  printf '%s\n' "$output"
}

# The installer's account steps through the VEL_RDB_ exports: the
# administrator signs in, creates an account with its administrating user,
# that user signs in and reads the account back.
account_flow() {
  if ! $velinst --help 2>&1 | grep -q 'rdb-create-account'; then
    echo "(the account exports are not built yet: the installer's account steps start here)"
    return
  fi
  product="DEMO-$(date +%s)"
  user="owner-$product" password="owner-secret"
  # User names and e-mail addresses are taken once: each run makes new ones.
  email=$(echo "$user@smith.example" | tr 'A-Z' 'a-z')
  keep $velinst rdb-login "$admin_user" "$admin_password"
  admin_token=$(field token "$output")
  show "$velinst rdb-create-account TOKEN $product $user ..."
  $velinst rdb-create-account "$admin_token" "$product" "$user" "$password" "Smith & Sons" "1 Main St" "" \
    Bozeman MT 59715 "Ann Smith" "$email" "+1 406 555 0100" Ann Smith "$email" \
    "+1 406 555 0100"
  keep $velinst rdb-login "$user" "$password"
  owner_token=$(field token "$output")
  step $velinst rdb-account "$owner_token" "$product"
  step $velinst rdb-user-count "$owner_token" "$product"
}
account_flow
