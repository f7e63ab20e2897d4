#!/bin/sh
# Starts or stops a loopback test server of a sanitized build, whose
# reports go to files named LOGS.<pid>: start removes the last run's, stop
# ends the server and fails, showing them, when it left any.
# Usage: sanitized-server.sh start|stop LOGS SERVER [ARGUMENTS...]
action=$1 logs=$2
shift 2
case $action in
start)
  mkdir -p "$(dirname "$logs")"
  rm -f "$logs".*
  exec "$@"
  ;;
stop)
  "$@"
  status=$?
  for log in "$logs".*; do
    [ -e "$log" ] || continue
    echo "sanitizer report of the server ($log):"
    cat "$log"
    status=1
  done
  exit $status
  ;;
esac
echo "usage: sanitized-server.sh start|stop LOGS SERVER [ARGUMENTS...]" >&2
exit 2
