#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the main job need,
# and any further packages named on the command line.
# Packages already present are left alone; apt runs only when one is missing.
# When another apt run holds apt's locks (an unattended upgrade, another
# checkout installing), this waits for it, up to APT_LOCK_WAIT seconds.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev qt6-tools-dev
  doxygen
  libsqlite3-dev libzip-dev zlib1g-dev mdbtools-dev libicu-dev
  libemf2svg-dev libwmf-dev
  libxlsxwriter-dev chromium
  libqt6sql6-psql libqt6sql6-odbc unixodbc libsqliteodbc postgresql
  zip unzip poppler-utils python3
  dpkg-dev file man-db
  fonts-liberation
  shared-mime-info
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
LOCK_WAIT=${APT_LOCK_WAIT:-600}
LOCK_POLL=${APT_LOCK_POLL:-5}

# apt-get that waits for apt's locks. Installing waits by itself
# (DPkg::Lock::Timeout); "update" takes the package lists' lock, which that
# option does not cover, so it is tried again while the lock is held.
apt_get() {
  local waited=0 log status
  log=$(mktemp)
  while true; do
    status=0
    $SUDO apt-get -o DPkg::Lock::Timeout="$LOCK_WAIT" "$@" 2>"$log" || status=$?
    if [ "$status" -eq 0 ]; then
      cat "$log" >&2
      rm -f "$log"
      return 0
    fi
    if grep -q -e "Could not get lock" -e "Unable to lock" "$log" && [ "$waited" -lt "$LOCK_WAIT" ]; then
      [ "$waited" -eq 0 ] && echo "Another apt run holds apt's lock; waiting for it (up to ${LOCK_WAIT} s)..." >&2
      sleep "$LOCK_POLL"
      waited=$((waited + LOCK_POLL))
      continue
    fi
    cat "$log" >&2
    rm -f "$log"
    return "$status"
  done
}

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt_get update -qq
apt_get install -y -qq "${missing[@]}"
