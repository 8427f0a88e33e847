#!/usr/bin/env bash
# Installs the Debian packages the project needs, only when some are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsimpleini-dev libicu-dev libpugixml-dev rapidjson-dev libcpp-httplib-dev libssl-dev
  xvfb xauth xdotool x11-utils libx11-6 curl python3 openssl
  fonts-dejavu-core fonts-liberation2
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
