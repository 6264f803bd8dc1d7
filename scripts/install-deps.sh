#!/usr/bin/env bash
# Installs the Debian packages Cinemon needs to build, run and test.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git clang-format
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server iproute2
  qt6-translations-l10n
  libsane-dev sane-utils libmspack-dev gcab cabextract desktop-file-utils
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  zbar-tools poppler-utils socat python3-aiosmtpd recode iproute2 util-linux passwd
  fonts-dejavu-core fonts-liberation
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
