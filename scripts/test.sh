#!/usr/bin/env bash
# Installs what is missing, builds, runs the whole test suite and ends with the line
# "N passed, N failed". With --sanitize the build uses AddressSanitizer and UBSan.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
if [ "${1:-}" = "--sanitize" ]; then
    build="$root/build-asan"
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
    extra=(-DORVO_SANITIZE=ON)
else
    extra=(-DORVO_SANITIZE=OFF)
fi

if ! "$root/scripts/setup.sh" "$build" RelWithDebInfo "${extra[@]}"; then
    echo "build failed"
    echo "0 passed, 1 failed"
    exit 1
fi

log=$(mktemp)
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}

summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
rm -f "$log"
if [ -z "$summary" ]; then
    echo "0 passed, 1 failed"
    exit 1
fi
failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
echo "$((total - failed)) passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
