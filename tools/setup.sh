#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail
PKGS=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine xvfb googletest cmake ninja-build clang-format
      libz-mingw-w64-dev gdal-bin proj-bin locales imagemagick fonts-wine x11-utils xdotool
      python3 python3-gdal libpcre2-dev python3-pil python3-lxml libxml2-utils iso-codes
      shared-mime-info python3-icu python3-convertdate python3-dateutil librsvg2-bin
      adwaita-icon-theme python3-svgelements fonts-liberation)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
