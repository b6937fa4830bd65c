#!/usr/bin/env bash
# The Debian package builds from the build tree, passes lintian without errors (the
# packaging script fails otherwise) and holds the program, its menu entry with the icon,
# the administrator's scripts and the README.
set -euo pipefail
root=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

deb=$(TABEL_BUILD_DIR=$2 "$root/scripts/package.sh" "$out" | tail -n 1)
[ -f "$deb" ] || { echo "package.sh named no package: '$deb'"; exit 1; }

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
status=0
for expected in ./usr/bin/tabel ./usr/share/applications/tabel.desktop \
    ./usr/share/icons/hicolor/scalable/apps/tabel.svg ./usr/share/tabel/admin/roles.sql \
    ./usr/share/tabel/admin/month-lock-and-audit.sql ./usr/share/doc/tabel/README.md \
    ./usr/share/doc/tabel/copyright; do
  grep -qx -- "$expected" <<<"$files" || { echo "missing from the package: $expected"; status=1; }
done
dpkg-deb -x "$deb" "$out/root"
grep -qx 'Name=Табель' "$out/root/usr/share/applications/tabel.desktop" || { echo "menu entry not named Табель"; status=1; }
grep -qx 'Icon=tabel' "$out/root/usr/share/applications/tabel.desktop" || { echo "menu entry without its icon"; status=1; }
exit $status
