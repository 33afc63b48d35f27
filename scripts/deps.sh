#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
set -euo pipefail
pkgs=(cmake g++ make pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql
      libzip-dev libpugixml-dev libsqlite3-dev xvfb xauth fonts-dejavu-core qt6-translations-l10n
      poppler-utils)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
