#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, only when something is missing.
#   deps.sh [--fuzz]   --fuzz: also clang and its libFuzzer and sanitizer runtimes (scripts/fuzz.sh)
#   deps.sh --screenshots   also the private X server and window manager of scripts/screenshots.sh
set -euo pipefail
pkgs=(build-essential cmake pkg-config python3 qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
      qt6-webengine-dev libmariadb-dev mariadb-server mariadb-client libssl-dev openssl curl nginx-light ccache
      qt6-translations-l10n fonts-liberation2 fonts-wine poppler-utils clang-format xvfb openbox xdotool x11-utils)
if [ "${1:-}" = --fuzz ]; then pkgs+=(clang libclang-rt-14-dev); fi
if [ "${1:-}" = --screenshots ]; then pkgs+=(xvfb openbox x11-utils); fi
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
