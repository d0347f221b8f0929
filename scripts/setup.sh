#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the desktop program
# need. Non-interactive and idempotent: apt-get runs only when a package is
# missing, and the package lists are refreshed first in that case.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  clang libclang-rt-14-dev clang-format clang-tidy
  libsqlite3-dev sqlite3 uuid-dev unixodbc-dev tdsodbc
  unixodbc odbcinst libsqliteodbc freetds-bin sqlfluff
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  xvfb xauth
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "setup: all ${#PACKAGES[@]} packages are installed"
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then
  SUDO="sudo"
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
