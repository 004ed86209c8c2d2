#!/usr/bin/env bash
# Installs what is missing, builds the bundle and starts the program from it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" "$root/build"
# WinVersion.bin is read from the current directory: start inside the bundle.
cd "$root/build/bundle"
exec ./orvo-video-converter
