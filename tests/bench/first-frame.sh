#!/usr/bin/env bash
# Serves a local HLS test stream on 127.0.0.1 and runs bench_first_frame against it under Xvfb.
# Usage: tests/bench/first-frame.sh [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
media=$(mktemp -d)
trap 'kill $server 2>/dev/null; rm -rf "$media"' EXIT
ffmpeg -loglevel error -f lavfi -i testsrc=size=640x360:rate=25 -t 30 -c:v libx264 -preset ultrafast -g 25 \
  -hls_time 1 -hls_list_size 0 -hls_playlist_type vod "$media/index.m3u8"
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$media" >/dev/null 2>&1 &
server=$!
sleep 1
"$root/tests/harness/with-xvfb" "$root/build/bench/bench_first_frame" "http://127.0.0.1:$port/index.m3u8" "${1:-10}"
