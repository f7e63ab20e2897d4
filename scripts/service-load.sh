#!/bin/sh
# Load figures of the account-service stand-in (build/host): sign-ins per
# second and other requests per second meanwhile, then the slowest answer
# with 64 clients that keep their connections alive.
# Usage: scripts/service-load.sh [SERVICE_PROGRAM]
set -e
cd "$(dirname "$0")/.."
service=${1:-build/host/bin/velinst-service}
load=build/host/bin/service_load
cmake --build build/host --target velinst-service service_load >/dev/null
work=$(mktemp -d)
trap '"$service" --stop --port-file "$work/port" >/dev/null 2>&1; rm -rf "$work"' EXIT
export VELINST_LOAD_ADMIN_PASSWORD=load-secret
"$service" --db "$work/load.db" --admin load-admin --admin-password-env VELINST_LOAD_ADMIN_PASSWORD \
  --port-file "$work/port" --detach >/dev/null
port=$(head -n 1 "$work/port")
"$load" signins "$port" load-admin load-secret 0 4 5
"$load" signins "$port" load-admin load-secret 4 0 5
"$load" signins "$port" load-admin load-secret 4 4 5
"$load" clients "$port" 64 2000 3
"$load" clients "$port" 128 1000 3
