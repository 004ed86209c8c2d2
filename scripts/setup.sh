#!/usr/bin/env bash
# Installs the missing Debian packages, then configures and builds the bundle.
# Works as root or through sudo. Usage: scripts/setup.sh [build-dir] [build-type] [cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build}
type=${2:-RelWithDebInfo}
shift $(( $# < 2 ? $# : 2 ))

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
while read -r pkg; do
    case "$pkg" in ''|'#'*) continue ;; esac
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$pkg")
done < "$here/packages.txt"

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get update -q
    as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
cmake --build "$build" --parallel "$(nproc)"
