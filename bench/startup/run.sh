#!/usr/bin/env bash
# Time from starting the program to its splash and to its main window being shown, and the
# program's peak memory once the main window is up. Prints figures; it passes or fails nothing.
# Usage: bench/startup/run.sh [bundle folder] [runs]     (defaults: build/bundle, 11)
# Without a display it runs itself in a virtual X server (xvfb-run), one that does not reset
# between two programs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bundle=$(cd "${1:-$root/build/bundle}" && pwd)
runs=${2:-11}
[ -x "$bundle/orvo-video-converter" ] || { echo "no program in $bundle: build first (scripts/setup.sh)" >&2; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$0" "$bundle" "$runs"
fi

# A private copy of the bundle, a fresh home folder and a temporary folder of its own (where the
# program looks for a running copy), so that no user's files or running program are touched.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$bundle" "$work/bundle"
rm -f "$work/bundle/Option.ini"
mkdir "$work/home"

now_us() { echo $(( $(date +%s%N) / 1000 )); }
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.0f", v[int((NR + 1) / 2)] }'; }

# Polls every few milliseconds; each poll is one xdotool call of about 2 ms.
wait_for() { # pid, exact window name
    until xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" >/dev/null 2>&1; do
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.003
    done
}

splash=() main=() peak=()
for ((i = 0; i < runs; i++)); do
    start=$(now_us)
    (cd "$work/bundle" && HOME="$work/home" TMPDIR="$work" exec ./orvo-video-converter >>"$work/program.log" 2>&1) &
    pid=$!
    # The splash has no title of its own: the first window the process shows.
    until [ -n "$(xdotool search --all --onlyvisible --pid "$pid" --name '.*' 2>/dev/null)" ]; do
        kill -0 "$pid" 2>/dev/null || { echo "the program ended before showing a window:" >&2; cat "$work/program.log" >&2; exit 1; }
        sleep 0.003
    done
    splash+=("$(( $(now_us) - start ))")
    wait_for "$pid" OrvoVideoConverter || { echo "the program ended before its main window:" >&2; cat "$work/program.log" >&2; exit 1; }
    main+=("$(( $(now_us) - start ))")
    sleep 0.5   # let the first paint settle before reading the peak
    peak+=("$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done

ms() { printf '%s\n' "$@" | awk '{ print $1 / 1000 }' | median; }
echo "== Program start ($runs runs, median) =="
echo "start to splash shown:      $(ms "${splash[@]}") ms"
echo "start to main window shown: $(ms "${main[@]}") ms (of it about 1010 ms are the splash's fade-in and fade-out pauses)"
echo "peak memory with the main window up: $(printf '%s\n' "${peak[@]}" | median | awk '{ printf "%.1f", $1 / 1024 }') MB"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
