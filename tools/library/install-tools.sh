#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs what tools/library/make-library needs: renderers, fonts, the speech synthesizer and
# SoX from Debian, and the Noto Emoji picture set from npm into tools/library/node_modules (not
# committed).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

packages=(librsvg2-bin imagemagick fonts-sil-andika fonts-cabinsketch espeak-ng sox)
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  sudo=''
  if [ "$(id -u)" -ne 0 ]; then sudo='sudo'; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cd "$here"
npm ci --no-audit --no-fund
