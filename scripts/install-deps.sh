#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing ORVEN need.
# Safe to run again: packages already present are left alone.
set -euo pipefail

PKGS=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqt6sql6-ibase libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils
  libpugixml-dev
  fonts-dejavu-core
)

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
