#!/usr/bin/env bash
# Installs what is missing, builds Cinemon, prepares an embedded database in data/ beside
# the build from the shipped backup, writes the configuration file for it and starts Cinemon.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=${CINEMON_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCINEMON_TESTS=OFF -DCINEMON_BENCH=OFF
cmake --build "$build" -j "$(nproc)" --target Cinemon cinemon_backup

data=$(pwd)/data
mkdir -p "$data"
cp "$build/app/shell/Cinemon" "$data/Cinemon"
cp "$build/Cinemon.gbk" "$data/Cinemon.gbk"
if [ ! -f "$data/Cinemon.ini" ]; then
  # An empty server means the embedded engine on a local file; Cinemon restores the
  # database from Cinemon.gbk beside it on its first start.
  printf '[Database]\r\nServer=\r\nFileName=%s/Cinemon.gdb\r\n' "$data" > "$data/Cinemon.ini"
fi
exec "$data/Cinemon" "$@"
