#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# checks the formatting, starts the Firebird server on localhost and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/start-firebird-server.sh

build=${CINEMON_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCINEMON_SANITIZE=ON -DCINEMON_WERROR=ON
cmake --build "$build" -j "$(nproc)"

# The engine keeps process-wide caches it frees only at exit, which LeakSanitizer takes for leaks.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export CINEMON_REQUIRE_SERVER=1
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600
