#!/usr/bin/env bash
# Time to add 50 generated files of mixed kinds through the add command (probe, thumbnail,
# MediaInfo, row). Prints figures; it passes or fails nothing.
# Usage: bench/adding/run.sh [build-dir]     (default build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target adding_bench >/dev/null

media="$build/bench-adding/media"
mkdir -p "$media"
media_file() { # name, ffmpeg output options; made once and kept
    [ -f "$media/$1" ] && return
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=s=$2:r=25:d=$3" -f lavfi -i "sine=d=$3:r=48000" \
        "${@:4}" "$media/part.$1" && mv "$media/part.$1" "$media/$1"
}
media_file dvd.mpg 720x576 20 -c:v mpeg2video -b:v 5M -aspect 16:9 -c:a mp2 -f dvd
media_file vga.mp4 640x480 20 -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac
media_file qvga.avi 320x240 20 -c:v mpeg4 -c:a mp3
media_file hd.mkv 1280x720 20 -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac
[ -f "$media/song.mp3" ] || ffmpeg -nostdin -v error -y -f lavfi -i "sine=d=60:r=44100" -c:a libmp3lame "$media/song.mp3"

files=()
for i in $(seq -w 1 10); do
    for source in dvd.mpg vga.mp4 qvga.avi hd.mkv song.mp3; do
        copy="$media/copy$i-$source"
        ln -sf "$source" "$copy"
        files+=("$copy")
    done
done
"$build/bench/adding/adding_bench" "${files[@]}"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
