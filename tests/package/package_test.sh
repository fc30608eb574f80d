#!/usr/bin/env bash
# The Debian package from end to end: tools/package makes it from the build's release programs;
# its files, lintian, the desktop entry and AppStream validators are checked; it is installed on
# this machine; two freshly created users run the installed commands under an X server of their
# own (see installed_program.py); the package is removed and the users' channels stay.
#   package_test.sh BUILD_FOLDER
# Exit status 77: this machine cannot run the test (the reason is printed).
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

command -v dpkg >/dev/null || skip "no dpkg on this machine: the package is for Debian and Ubuntu"
[ "$(id -u)" -eq 0 ] || skip "installing the package and creating users needs root; run the test as root"
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
case "$build_type" in
  Release|RelWithDebInfo|MinSizeRel) ;;
  *) skip "the package takes a release build; $build is a '$build_type' build" ;;
esac
grep -q '^QUORVEL_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && skip "the package takes a build without the sanitizers"
for tool in lintian appstreamcli desktop-file-validate dpkg-shlibdeps apt-get useradd Xvfb xdotool ffmpeg import; do
  command -v "$tool" >/dev/null || fail "$tool is missing: tools/ensure-packages build run test"
done
if dpkg-query -W -f='${Status}' quorvel 2>/dev/null | grep -q 'install ok installed'; then
  fail "a quorvel package is installed already; remove it (apt-get remove quorvel) before the test"
fi

work=$(mktemp -d /tmp/quorvel-package-test-XXXXXX)
chmod 0755 "$work"
users=()
cleanup() {
  set +e
  if dpkg-query -W -f='${Status}' quorvel 2>/dev/null | grep -q 'install ok installed'; then
    dpkg -r quorvel >/dev/null 2>&1
  fi
  for u in "${users[@]}"; do userdel -r "$u" >/dev/null 2>&1; done
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Building the package"
deb=$("$source_dir/tools/package" "$build" "$work" | tail -n1)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[ "$deb" = "$work/quorvel_${version}_$(dpkg --print-architecture).deb" ] || fail "unexpected package name: $deb"

echo "== Its files"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort >"$work/files"
sizes="16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256"
{
  printf '%s\n' /usr/bin/quorvel /usr/bin/quorvel-import \
    /usr/share/quorvel/TVAPI.dat /usr/share/quorvel/TVADS.dat /usr/share/quorvel/VisibleAPI.dat \
    /usr/share/applications/tv.quorvel.Quorvel.desktop /usr/share/metainfo/tv.quorvel.Quorvel.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/quorvel.svg \
    /usr/share/man/man1/quorvel.1.gz /usr/share/man/man1/quorvel-import.1.gz \
    /usr/share/doc/quorvel/copyright /usr/share/doc/quorvel/changelog.gz
  for s in $sizes; do echo "/usr/share/icons/hicolor/$s/apps/quorvel.png"; done
} | sort >"$work/expected"
diff -u "$work/expected" "$work/files" || fail "the package's files are not the expected ones"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libmpv2 libqt6webenginecore6 libqt6widgets6 qt6-qpa-plugins libqt6webenginecore6-bin fonts-wine \
         fonts-liberation fonts-wqy-microhei libqt6sql6-sqlite xdg-utils libgl1-mesa-dri; do
  grep -qE "(^|, )$d( |,|$)" <<<"$depends" || fail "Depends lacks $d: $depends"
done

mkdir "$work/tree"
dpkg-deb -x "$deb" "$work/tree"
for s in $sizes; do
  python3 - "$work/tree/usr/share/icons/hicolor/$s/apps/quorvel.png" "${s%%x*}" <<'PY'
import struct, sys
png = open(sys.argv[1], "rb").read()
assert png[:8] == b"\x89PNG\r\n\x1a\n", sys.argv[1] + " is not a PNG"
size = int(sys.argv[2])
assert struct.unpack(">II", png[16:24]) == (size, size), (sys.argv[1], struct.unpack(">II", png[16:24]))
PY
done
for b in quorvel quorvel-import; do
  sections=$(readelf -S "$work/tree/usr/bin/$b")
  ! grep -qE '\.(symtab|debug_info)' <<<"$sections" || fail "$b is not stripped"
done

echo "== Validators"
desktop-file-validate "$work/tree/usr/share/applications/tv.quorvel.Quorvel.desktop"
grep -qx 'Exec=quorvel' "$work/tree/usr/share/applications/tv.quorvel.Quorvel.desktop" || fail "the desktop entry does not start quorvel from the PATH"
grep -qx 'Icon=quorvel' "$work/tree/usr/share/applications/tv.quorvel.Quorvel.desktop" || fail "the desktop entry does not name the theme icon"
appstreamcli validate --no-net "$work/tree/usr/share/metainfo/tv.quorvel.Quorvel.metainfo.xml"
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$work/lintian" || fail "lintian reports errors"

echo "== Installing"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log" >&2; fail "the package does not install"; }
[ -x /usr/bin/quorvel ] && [ -x /usr/bin/quorvel-import ] || fail "the commands are not installed"

# Two users made for the test, with fresh homes; the second only looks.
for n in 1 2; do
  u="qvtest$$u$n"
  useradd --create-home --shell /bin/sh "$u"
  users+=("$u")
done

echo "== The installed program as its users run it"
"$source_dir/tests/harness/with-xvfb" python3 "$here/installed_program.py" "${users[0]}" "${users[1]}" InstalledProgram

echo "== Upgrading to a package with a newer start page and catalogue"
# The same package one version on, its start page green and its catalogue with one more
# category: the users' catalogues stay as they are, the new page is shown.
catalogue=$(getent passwd "${users[0]}" | cut -d: -f6)/.local/share/quorvel/VisibleAPI.dat
cp "$catalogue" "$work/catalogue-before"
dpkg-deb -R "$deb" "$work/next"
sed -i "s/^Version: .*/Version: $version+1/" "$work/next/DEBIAN/control"
echo '<style>body { background: #00c000 !important; }</style>' >>"$work/next/usr/share/quorvel/TVAPI.dat"
sed -i 's/^Webcam Streams=/Webcam Streams=\r\nUpgraded=/' "$work/next/usr/share/quorvel/VisibleAPI.dat"
(cd "$work/next" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$work/next/DEBIAN/md5sums"
dpkg-deb --root-owner-group --build "$work/next" "$work/next.deb" >/dev/null
dpkg -i "$work/next.deb" >/dev/null
[ "$(dpkg-query -W -f='${Version}' quorvel)" = "$version+1" ] || fail "the upgrade did not install"
grep -q '^Upgraded=' /usr/share/quorvel/VisibleAPI.dat || fail "the upgrade did not replace the installed catalogue"
cmp -s "$catalogue" "$work/catalogue-before" || fail "the upgrade changed the user's catalogue"
"$source_dir/tests/harness/with-xvfb" python3 "$here/installed_program.py" "${users[0]}" "${users[1]}" Upgraded

echo "== Removing the package"
dpkg -r quorvel >/dev/null
[ ! -e /usr/bin/quorvel ] && [ ! -e /usr/bin/quorvel-import ] && [ ! -e /usr/share/quorvel ] \
  || fail "the package's files stay after its removal"
cmp -s "$catalogue" "$work/catalogue-before" || fail "the user's catalogue went with the package"
echo "the package builds, validates, installs, runs for each user and leaves their channels when removed"
