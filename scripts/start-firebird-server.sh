#!/usr/bin/env bash
# Starts the Firebird server on localhost (port 3050) unless it already listens.
# The package's own start scripts are not usable in containers, so the server is started directly,
# and with "-d": otherwise the server (and its guardian) closes its standard input, output and error
# without opening them anew, so the next files it opens (its security database, the shared memory of
# its lock folder) take their numbers, and whatever it prints is written into them. A restore through
# the service manager that meets a cut-off backup asks on that output for the next volume: that text
# once landed in the security database and in the trace memory, and the server could not start again.
set -euo pipefail

listening() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

if listening; then
  exit 0
fi
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
$sudo_cmd setsid /usr/sbin/firebird -d </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 60); do
  if listening; then
    exit 0
  fi
  sleep 0.5
done
echo "The Firebird server did not start listening on 127.0.0.1:3050" >&2
exit 1
