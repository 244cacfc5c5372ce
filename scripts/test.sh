#!/usr/bin/env bash
# Installs what is needed, builds the default, sanitizer and fuzz builds, and runs every test:
# the unit tests in the default and the sanitizer build, each fuzz target briefly.
# Exits non-zero when anything fails; ends with one summary line over all runs.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1

passed=0
failed=0
status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

run_preset() {
    local preset=$1
    echo "=== $preset: configure and build"
    if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
        echo "=== $preset: build failed"
        status=1
        return
    fi
    echo "=== $preset: test"
    ctest --preset "$preset" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    # "100% tests passed, 0 tests failed out of 42"
    local line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -n "$line" ]; then
        bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    elif grep -q 'No tests were found' "$log"; then
        :
    else
        status=1
    fi
}

run_preset default
run_preset asan
run_preset fuzz

echo "all: $passed passed, $failed failed"
exit $status
