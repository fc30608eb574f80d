#!/usr/bin/env bash
# The installed program folder, at a path with a blank in it: the player, the import program, the
# icon as PNG and SVG, and a desktop entry that desktop-file-validate accepts and that names the
# folder's own program and icon.
set -euo pipefail
build=$1
dir=$(mktemp -d "/tmp/quorvel install-XXXXXX")
trap 'rm -rf "$dir"' EXIT
cmake --install "$build" --prefix "$dir" >/dev/null
entry="$dir/tv.quorvel.Quorvel.desktop"
desktop-file-validate "$entry"
grep -qxF "Exec=\"$dir/quorvel\"" "$entry" || { echo "wrong Exec: $(grep ^Exec "$entry")"; exit 1; }
grep -qxF "Icon=$dir/quorvel.svg" "$entry" || { echo "wrong Icon: $(grep ^Icon "$entry")"; exit 1; }
test -x "$dir/quorvel"
test -x "$dir/quorvel-import"
"$dir/quorvel-import" --help | grep -q "^Usage: quorvel-import"
python3 - "$dir/quorvel.png" "$dir/quorvel.svg" <<'PY'
import struct, sys, xml.etree.ElementTree as ET
png = open(sys.argv[1], "rb").read()
assert png[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
width, height = struct.unpack(">II", png[16:24])
assert (width, height) == (256, 256), (width, height)
root = ET.parse(sys.argv[2]).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag
PY
echo "installed folder and desktop entry are fine"
