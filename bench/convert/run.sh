#!/usr/bin/env bash
# Conversion speed and memory of the engine against the ffmpeg program with the same
# settings (and HandBrake's closest presets where Debian's handbrake-cli installs), on a
# generated 1080p H.264 clip, for the iPhone's 480x320 and the Apple TV's 1280x720
# H.264 profiles. Runs alternate engine and ffmpeg; prints wall time, the ratio
# engine/ffmpeg, peak memory and SSIM against the source.
#
#   bench/convert/run.sh [bundle folder] [rounds]
#
# The bundle defaults to build/bundle of the checkout; rounds to 2. Work files go to
# ${ORVO_BENCH_DIR:-/tmp/orvo-bench-convert} and are kept for the next run.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bundle=${1:-$root/build/bundle}
rounds=${2:-2}
work=${ORVO_BENCH_DIR:-/tmp/orvo-bench-convert}
mkdir -p "$work"
engine="$bundle/libKrodecDLL.so"
[[ -f $engine ]] || { echo "no engine at $engine (build the project first)" >&2; exit 1; }

as_root() {
    if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}
if [[ ! -x /usr/bin/time ]]; then
    as_root apt-get install -y time >/dev/null || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 1; }
fi
if ! command -v HandBrakeCLI >/dev/null && [[ ${ORVO_BENCH_HANDBRAKE:-1} == 1 ]]; then
    as_root apt-get install -y handbrake-cli >/dev/null 2>&1 || echo "handbrake-cli does not install here; skipped" >&2
fi

driver="$work/convert_driver"
if [[ ! -x $driver || $here/convert_driver.cpp -nt $driver ]]; then
    g++ -std=c++17 -O2 -I"$root/krodec/include" "$here/convert_driver.cpp" -o "$driver" -ldl
fi

source="$work/source-1080p.mp4"
if [[ ! -f $source ]]; then
    echo "making the 24 s 1080p source..."
    ffmpeg -hide_banner -loglevel error -y \
        -f lavfi -i "testsrc2=s=1920x1080:r=30000/1001:d=24,noise=alls=6:allf=t" \
        -f lavfi -i "sine=f=440:d=24:r=48000" -ac 2 \
        -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -c:a aac -b:a 192k "$source"
fi

# The shipped profiles "iPhone - H.264 480x320 Standard" and
# "Apple TV - H.264 1280x720 HD 23.97 fps (film)", as the program passes them for a
# 16:9 source: the picture fitted into the frame, the rest black.
engine_args() {
    case $1 in
    iphone) echo iphone "$source" 0 0 44100 1:1 h264 mp4 800 128 480:272 480:320 \
                Bench Bench Unknown source 0 -1 "$2" 0 0 ;;
    appletv) echo appletv "$source" 0 0 48000 1:1 h264 mp4 4500 192 1280:720 1280:720 \
                Bench Bench Unknown 23.976 0 -1 "$2" 0 0 ;;
    esac
}
ffmpeg_args() {
    case $1 in
    iphone) echo -vf "fps=30000/1001,scale=480:272,pad=480:320:(ow-iw)/2:(oh-ih)/2:black,setsar=1,format=yuv420p" \
                -c:v libx264 -profile:v baseline -level:v 3.0 \
                -x264-params cabac=0:ref=1:bframes=0:8x8dct=0:weightp=0 \
                -b:v 800k -maxrate 1500k -bufsize 2000k \
                -af aresample=async=1:first_pts=0 -c:a aac -b:a 128k -ar 44100 -ac 2 \
                -movflags +faststart -f mp4 ;;
    appletv) echo -vf "fps=24000/1001,scale=1280:720,setsar=1,format=yuv420p" \
                -c:v libx264 -profile:v main -level:v 3.1 \
                -x264-params cabac=0:ref=2:bframes=3:b-pyramid=none:weightp=0:8x8dct=0:rc-lookahead=20 \
                -b:v 4500k -maxrate 5000k -bufsize 5000k \
                -af aresample=async=1:first_pts=0 -c:a aac -b:a 192k -ar 48000 -ac 2 \
                -movflags +faststart -f mp4 ;;
    esac
}
handbrake_preset() {
    case $1 in
    iphone) echo "Apple 540p30 Surround" ;;
    appletv) echo "Apple 720p30 Surround" ;;
    esac
}
# The picture area of each output (the iPhone's frame has bars), for SSIM.
picture_crop() {
    case $1 in
    iphone) echo "crop=480:272:0:24" ;;
    *) echo "null" ;;
    esac
}

# Runs a command under /usr/bin/time; prints "seconds peak-kB".
measure() {
    local log="$work/time.log"
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>"$work/stderr.log" || { cat "$work/stderr.log" >&2; return 1; }
    local wall rss
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$log" | awk -F: '{ if (NF==3) print $1*3600+$2*60+$3; else print $1*60+$2 }')
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
    echo "$wall $rss"
}

ssim() {   # output, crop filter
    local rate
    rate=$(ffprobe -v error -select_streams v:0 -show_entries stream=avg_frame_rate -of csv=p=0 "$1")
    local size
    size=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=s=x:p=0 "$1")
    ffmpeg -hide_banner -nostdin -i "$1" -i "$source" -lavfi \
        "[0:v]$2,scale=${size%x*}:${size#*x}:flags=bicubic[o];[1:v]fps=$rate,scale=${size%x*}:${size#*x}:flags=bicubic[r];[o][r]ssim" \
        -f null - 2>&1 | sed -n 's/.*SSIM .*All:\([0-9.]*\).*/\1/p' | tail -1
}

declare -A total rss_max
for ((round = 1; round <= rounds; round++)); do
    for profile in iphone appletv; do
        out="$work/engine-$profile.mp4"; rm -f "$out"
        # shellcheck disable=SC2046
        read -r t m < <(measure "$driver" "$engine" $(engine_args $profile "$out"))
        total[engine-$profile]=$(echo "${total[engine-$profile]:-0} + $t" | bc -l)
        rss_max[engine-$profile]=$(( m > ${rss_max[engine-$profile]:-0} ? m : ${rss_max[engine-$profile]:-0} ))
        echo "round $round  $profile  engine  ${t}s  ${m} kB"

        out="$work/ffmpeg-$profile.mp4"
        # shellcheck disable=SC2046
        read -r t m < <(measure ffmpeg -hide_banner -nostdin -y -i "$source" -map 0:v:0 -map 0:a:0 \
                         $(ffmpeg_args $profile) "$out")
        total[ffmpeg-$profile]=$(echo "${total[ffmpeg-$profile]:-0} + $t" | bc -l)
        rss_max[ffmpeg-$profile]=$(( m > ${rss_max[ffmpeg-$profile]:-0} ? m : ${rss_max[ffmpeg-$profile]:-0} ))
        echo "round $round  $profile  ffmpeg  ${t}s  ${m} kB"
    done
done

echo
printf '%-8s %-10s %9s %10s %8s %7s\n' profile tool "wall s" "peak MB" "ratio" SSIM
for profile in iphone appletv; do
    e=$(echo "${total[engine-$profile]} / $rounds" | bc -l)
    f=$(echo "${total[ffmpeg-$profile]} / $rounds" | bc -l)
    printf '%-8s %-10s %9.2f %10.1f %8.2f %7s\n' $profile engine "$e" "$(echo "${rss_max[engine-$profile]} / 1024" | bc -l)" \
        "$(echo "$e / $f" | bc -l)" "$(ssim "$work/engine-$profile.mp4" "$(picture_crop $profile)")"
    printf '%-8s %-10s %9.2f %10.1f %8s %7s\n' $profile ffmpeg "$f" "$(echo "${rss_max[ffmpeg-$profile]} / 1024" | bc -l)" \
        "" "$(ssim "$work/ffmpeg-$profile.mp4" "$(picture_crop $profile)")"
    if [[ ${ORVO_BENCH_HANDBRAKE:-1} == 1 ]] && command -v HandBrakeCLI >/dev/null; then
        out="$work/handbrake-$profile.mp4"; rm -f "$out"
        if read -r t m < <(measure HandBrakeCLI -i "$source" -o "$out" --preset "$(handbrake_preset $profile)"); then
            printf '%-8s %-10s %9.2f %10.1f %8s %7s   (preset "%s")\n' $profile handbrake "$t" "$(echo "$m / 1024" | bc -l)" \
                "" "$(ssim "$out" null)" "$(handbrake_preset $profile)"
        fi
    fi
done
