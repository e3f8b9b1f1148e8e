#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quorvane need,
# and any more named as arguments, asking apt-get only for those that are missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-svg-dev
    libcurl4-openssl-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
    dbus-daemon
    fonts-noto-cjk
    desktop-file-utils appstream
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
