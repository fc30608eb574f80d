#!/usr/bin/env bash
# Runs bench_sponsor_pane with a 720p clip under Xvfb, at scale factors 1 and 2 (on a screen big
# enough for the window at twice its size), the window at its own size and maximized.
# Usage: tests/bench/sponsor-pane.sh [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
media=$(mktemp -d)
trap 'rm -rf "$media"' EXIT
ffmpeg -loglevel error -f lavfi -i testsrc2=size=1280x720:rate=30 -t 120 -pix_fmt yuv420p -c:v libx264 \
  -preset ultrafast -g 30 "$media/720p.mp4"
for window in normal maximized; do
  for scale in 1 2; do
    QT_SCALE_FACTOR=$scale QUORVEL_XVFB_ARGS="-screen 0 1920x1200x24" "$root/tests/harness/with-xvfb" \
      "$root/build/bench/bench_sponsor_pane" "$root/resources" "$media/720p.mp4" "${1:-5}" "$window"
  done
done
