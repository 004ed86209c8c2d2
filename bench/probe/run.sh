#!/usr/bin/env bash
# Probe, thumbnail and preview seek figures of the engine, next to the ffmpeg programs doing the
# same work on the same files in the same run. Prints figures; it passes or fails nothing.
# Usage: bench/probe/run.sh [build-dir] [runs]     (build-dir: where the bundle was built, default build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-11}
library="$build/bundle/libKrodecDLL.so"
[ -f "$library" ] || { echo "no engine library at $library: build first (scripts/setup.sh)" >&2; exit 1; }

work="$build/bench-krodec"
media="$work/media"
mkdir -p "$media"

# The two programs load the engine with dlopen, as the converter does.
for tool in probe/probe_bench seek/seek_bench; do
    name=$(basename "$tool")
    if [ ! -x "$work/$name" ] || [ "$root/bench/$tool.cpp" -nt "$work/$name" ]; then
        c++ -O2 -std=c++17 -pthread -I"$root/krodec/include" "$root/bench/$tool.cpp" -ldl -o "$work/$name"
    fi
done

# Media, made once and kept in the build folder.
hd="$media/hd_h264_gop10s.mp4"
dvd="$media/dvd_mpeg2_16x9.mpg"
tv="$media/tv_h264_gop10s.ts"
if [ ! -f "$hd" ]; then
    echo "making $hd (1080p H.264, 40 s, a key frame every 10 s; takes a minute or two)"
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=s=1920x1080:r=25:d=40" -f lavfi -i "anoisesrc=d=40:a=0.1:r=48000" \
        -c:v libx264 -preset fast -b:v 6M -g 250 -keyint_min 250 -sc_threshold 0 -pix_fmt yuv420p \
        -c:a aac -b:a 128k -shortest "$hd.part.mp4" && mv "$hd.part.mp4" "$hd"
fi
if [ ! -f "$dvd" ]; then
    echo "making $dvd (DVD-like: 720x576 16:9 MPEG-2 at 5 Mbit/s, AC-3, program stream, 40 s)"
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=s=720x576:r=25:d=40" -f lavfi -i "anoisesrc=d=40:a=0.1:r=48000" \
        -c:v mpeg2video -b:v 5M -maxrate 9M -bufsize 1835k -g 15 -bf 2 -aspect 16:9 -pix_fmt yuv420p \
        -c:a ac3 -b:a 448k -shortest -f dvd "$dvd.part" && mv "$dvd.part" "$dvd"
fi

if [ ! -f "$tv" ]; then
    echo "making $tv (broadcast-like: 1280x720 H.264 in MPEG-TS, 40 s, a key frame every 10 s, MP2)"
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=s=1280x720:r=25:d=40" -f lavfi -i "anoisesrc=d=40:a=0.1:r=48000" \
        -c:v libx264 -preset fast -b:v 4M -g 250 -keyint_min 250 -sc_threshold 0 -pix_fmt yuv420p \
        -c:a mp2 -b:a 192k -shortest -f mpegts "$tv.part" && mv "$tv.part" "$tv"
fi

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] }'; }
now_ms() { echo $(( $(date +%s%N) / 1000 )); }   # microseconds, printed as ms below

echo
echo "== Probe plus thumbnail, per file ($runs runs, median) =="
"$work/probe_bench" "$library" "$runs" "$hd" "$dvd" "$tv"

echo
echo "== The same with the ffmpeg programs: ffprobe, then ffmpeg -ss 3 -frames:v 1 at 240 wide =="
for file in "$hd" "$dvd" "$tv"; do
    times=()
    for ((i = 0; i < runs; i++)); do
        start=$(now_ms)
        ffprobe -v error -show_format -show_streams "$file" > /dev/null
        ffmpeg -nostdin -v error -ss 3 -i "$file" -frames:v 1 -vf scale=240:-4 -pix_fmt bgr24 -f rawvideo -y /dev/null
        end=$(now_ms)
        times+=("$(( end - start ))")
    done
    printf '%-28s ffprobe + ffmpeg: median %s ms\n' "$(basename "$file")" \
        "$(printf '%s\n' "${times[@]}" | awk '{ print $1 / 1000 }' | median)"
done

echo
echo "== Preview seek: X_Set_NextFrame_Time to message 2412 (1080p H.264, key frame every 10 s) =="
"$work/seek_bench" "$library" "$hd" 40 30
echo
echo "== Preview seek on the MPEG-TS (720p H.264, key frame every 10 s, found by time stamp) =="
"$work/seek_bench" "$library" "$tv" 40 30
echo "-- 15 fixed seconds with ffmpeg -ss S -frames:v 1 (a new process each time) --"
times=()
for second in 7 23 31 14 2 38 19 27 9 35 12 4 29 17 33; do
    start=$(now_ms)
    ffmpeg -nostdin -v error -ss "$second" -i "$hd" -frames:v 1 -vf scale=240:-4 -pix_fmt bgr24 -f rawvideo -y /dev/null
    end=$(now_ms)
    times+=("$(( end - start ))")
done
printf 'ffmpeg -ss: median %s ms over %d seeks\n' "$(printf '%s\n' "${times[@]}" | awk '{ print $1 / 1000 }' | median)" "${#times[@]}"
echo
echo "load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
