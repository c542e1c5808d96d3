#!/usr/bin/env bash
# Installs the Debian packages that building, testing, fuzzing and benchmarking need.
# As root it installs what is missing; otherwise it prints the one apt-get line to run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libstorm-dev dynamite
  nlohmann-json3-dev rapidjson-dev libcli11-dev libsqlite3-dev sqlite3 xxd ccache
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get -o DPkg::Lock::Timeout=600 update -qq
  apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: missing packages; run:"
  echo "  sudo apt-get install -y ${missing[*]}"
  exit 1
fi
