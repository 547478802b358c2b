#!/usr/bin/env bash
# Installs what building and running qlxhost needs on Debian, when it is missing.
set -euo pipefail
packages=(cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev
  libturbojpeg0-dev libjpeg62-turbo-dev libcurl4-openssl-dev libxlsxwriter-dev
  fonts-thai-tlwg poppler-utils sqlite3 python3-aiosmtpd unzip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
