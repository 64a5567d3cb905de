#!/usr/bin/env bash
# Installs the Debian packages Taviron needs to build, test and run.
# Idempotent: does nothing (and prints nothing) when everything is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config make
  qt6-base-dev libgl-dev
  libsndfile1-dev portaudio19-dev
  libtbb-dev nlohmann-json3-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  hershey-fonts-data zlib1g-dev
  fonts-dejavu-core
  clang-format libfftw3-dev
  help2man
  locales  # de_DE sources: a test session runs under a comma-decimal locale
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
