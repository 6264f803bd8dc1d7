#!/usr/bin/env bash
# Starts the Firebird server on localhost (port 3050) unless it already listens.
# The package's own start scripts are not usable in containers, so the guardian is started directly.
set -euo pipefail

listening() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

if listening; then
  exit 0
fi
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
$sudo_cmd setsid /usr/sbin/fbguard -daemon -forever </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 60); do
  if listening; then
    exit 0
  fi
  sleep 0.5
done
echo "The Firebird server did not start listening on 127.0.0.1:3050" >&2
exit 1
