#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libpq-dev postgresql
  libxlsxwriter-dev
  qt6-translations-l10n
  unixodbc unixodbc-dev libsqliteodbc libsqlite3-dev odbc-postgresql
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation2 poppler-utils
  unzip locales jq
  lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests write numbers under a Russian locale (decimal comma); compile it when the
# machine has not got it.
if ! locale -a | grep -qix 'ru_RU.utf8'; then
  echo "Generating locale ru_RU.UTF-8"
  "${sudo_cmd[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
