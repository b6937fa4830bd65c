#!/usr/bin/env bash
# Builds the Debian package of the program from the build tree (built first when it is
# missing), checks it with lintian and prints the path of the .deb as its last line.
#   package.sh [OUTPUT_FOLDER]    (default: the build folder's packages/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABEL_BUILD_DIR:-$root/build}
out=${1:-$build/packages}

[ -x "$build/src/tabel" ] || "$root/scripts/build.sh" >&2
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >&2
deb=$(ls -t "$out"/tabel_*.deb | head -n 1)

if ! command -v lintian >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends lintian >&2
fi
# Errors fail the package; warnings are shown.
lintian --fail-on error "$deb" >&2
echo "$deb"
