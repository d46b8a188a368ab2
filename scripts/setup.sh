#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine needs to build, run and test Siborang.
# Safe to run again: apt-get skips what is already there. debootstrap makes the Debian 13 tree
# in which the 32-bit program is tested (scripts/wow64.sh).
set -euo pipefail

packages=(
  cmake g++ make googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
  wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick fonts-nanum
  espeak-ng sox pulseaudio
  debootstrap debian-archive-keyring
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
