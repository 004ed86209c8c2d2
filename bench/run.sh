#!/usr/bin/env bash
# Every benchmark of the project, one after the other, in one run on this machine.
# Usage: bench/run.sh [build-dir] [conversion rounds]     (defaults: build, 1)
# Prints figures only; bench/README.md says what each one measures.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
rounds=${2:-1}
echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "# commit $(git -C "$here" rev-parse --short HEAD 2>/dev/null || echo unknown)"
"$here/startup/run.sh" "$build/bundle"
echo
"$here/probe/run.sh" "$build"
echo
"$here/adding/run.sh" "$build"
echo
"$here/convert/run.sh" "$build/bundle" "$rounds"
