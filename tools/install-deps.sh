#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the main job need,
# and any further packages named on the command line.
# Packages already present are left alone; apt runs only when one is missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev
  libsqlite3-dev libzip-dev mdbtools-dev libicu-dev
  libqt6sql6-psql libqt6sql6-odbc unixodbc libsqliteodbc postgresql
  zip unzip poppler-utils
  fonts-liberation
)
# Callers may ask for more (the fuzzers need clang and its runtime).
PACKAGES+=("$@")

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}"
