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
# The embedded engines of the test processes keep their shared memory apart from the server's.
# Hundreds of short embedded processes coming and going beside the server share its user-mapping
# memory otherwise, and the server once aborted in the middle of a run on that memory's mutex
# ("Error when working with user mapping shared memory"), failing whatever test used it then.
locks=$(mktemp -d)
work=""
trap 'rm -rf "$locks" ${work:+"$work"}' EXIT
FIREBIRD_LOCK="$locks" ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600

# A shop's counter runs under an ordinary account, and the server (started above) has made the
# engine's lock folder its own group's: the database tests once more as such an account, each
# test a process of its own as under ctest, from a folder that account may read.
user=cinemon-test
if ! id "$user" >/dev/null 2>&1; then
  useradd --system --user-group --no-create-home --shell /usr/sbin/nologin "$user"
fi
work=$(mktemp -d)
program=cinemon_db_connection_test
cp -p "$build/Cinemon.gbk" "$build/Cinemon.gbk.template.fdb" "$build/tests/db/$program" "$work/"
chmod 755 "$work"
chown -R "$user:" "$work"
as_user() {
  runuser -u "$user" -- env HOME="$work" CINEMON_BACKUP="$work/Cinemon.gbk" ASAN_OPTIONS="$ASAN_OPTIONS" \
    UBSAN_OPTIONS="$UBSAN_OPTIONS" QT_QPA_PLATFORM=offscreen "$@"
}
failed=0
for test in $(as_user "$work/$program" --gtest_list_tests | awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }'); do
  if ! (cd "$work" && as_user "$work/$program" --gtest_filter="$test" --gtest_brief=1); then
    echo "FAILED as $user: $test"
    failed=1
  fi
done
exit "$failed"
