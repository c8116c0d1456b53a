#!/usr/bin/env bash
# Installs, on Debian 12, whatever the build and the tests need and is missing.
set -euo pipefail

packages=(
  # builds
  cmake ninja-build g++ make g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-tools
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
  # Wine on a private X server, and the eyes and hands of the tests
  wine wine64 xvfb xdotool x11-utils libgl1-mesa-dri libglx-mesa0
  python3 python3-pil fonts-ipafont-gothic locales git
  # sound: a private PulseAudio with a null sink, Wine's MP3 decoding, measuring
  pulseaudio pulseaudio-utils sox gstreamer1.0-plugins-base gstreamer1.0-plugins-good lame
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
