#!/usr/bin/env bash
# Starts the Firebird server on localhost (port 3050) as Debian's package runs it: as its user
# `firebird`, with the package's configuration in /etc/firebird/3.0, so that every test meets the
# rights a shop's server has (a server running as root opens any file, a shop's does not).
# A server that listens already is kept when it runs as `firebird`; one started as root by an
# earlier version of this script is stopped and started anew.
# The package's own start scripts are not usable in containers, so the server is started directly,
# and with "-d": otherwise the server (and its guardian) closes its standard input, output and error
# without opening them anew, so the next files it opens (its security database, the shared memory of
# its lock folder) take their numbers, and whatever it prints is written into them. A restore through
# the service manager that meets a cut-off backup asks on that output for the next volume: that text
# once landed in the security database and in the trace memory, and the server could not start again.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  exec sudo bash "$0" "$@"
fi

account=firebird
locks=/tmp/firebird
users=/var/lib/firebird/3.0/system/security3.fdb
log=/var/log/firebird/firebird3.0.log

listening() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }
listener() { ss -ltnpH 'sport = :3050' | sed -n 's/.*pid=\([0-9]*\),.*/\1/p' | head -n 1; }
# A server ended without a parent to collect it stays a zombie until the machine's first process does.
running() { case "$(ps -o stat= -p "$1")" in "" | Z*) return 1 ;; esac; }

pid=$(listener)
if [ -n "$pid" ]; then
  if [ "$(ps -o user= -p "$pid")" = "$account" ]; then
    exit 0
  fi
  kill -TERM "$pid"
  for _ in $(seq 1 60); do
    running "$pid" || break
    sleep 0.5
  done
  if running "$pid"; then
    kill -KILL "$pid"
    sleep 1
  fi
fi

# What a root-run server (or an embedded engine run by root) left behind in the lock folder, the
# user database and the log is root's; the package's own rules give them to its account.
install -d -m 0770 -o "$account" -g "$account" "$locks"
chown -R "$account:$account" "$locks"
chown "$account:$account" "$users"
chmod 0660 "$users"
if [ -e "$log" ]; then
  chown "$account:$account" "$log"
fi
install -d -m 0755 -o "$account" -g "$account" /run/firebird3.0

# A clean environment, as the service manager gives it: no FIREBIRD_LOCK or other variable of the
# calling shell.
env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$(getent passwd "$account" | cut -d: -f6)" \
  setsid setpriv --reuid="$account" --regid="$account" --init-groups \
  /usr/sbin/firebird -d </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 60); do
  if listening; then
    exit 0
  fi
  sleep 0.5
done
echo "The Firebird server did not start listening on 127.0.0.1:3050" >&2
exit 1
