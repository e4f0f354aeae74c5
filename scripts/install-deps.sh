#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Pagora needs.
# Idempotent: when everything is present it only checks and returns within a second.
set -euo pipefail

packages=(
  # build tools
  build-essential cmake ninja-build ccache pkg-config git python3
  clang libclang-rt-14-dev
  # test and benchmark frameworks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # libraries of the core
  libpng-dev libjpeg-dev libgif-dev zlib1g-dev libcurl4-openssl-dev libexpat1-dev
  # Qt 6 for the platform layer, the viewer and the word processor
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools libgl-dev
  # fonts the layout relies on (metric-compatible Arial, Times New Roman, Courier New)
  fonts-liberation fonts-liberation2 fonts-dejavu-core fonts-urw-base35 fontconfig
  # Chinese, Japanese and Korean text (small, one face)
  fonts-wqy-microhei
  # end-to-end tests in a real window
  xvfb xauth xdotool xclip x11-utils x11-apps
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
