#!/usr/bin/env bash
# Installs the Debian packages that building, testing, fuzzing and benchmarking need, and the
# pinned npm packages of the browser tests (tests/browser: playwright-core drives the Debian
# chromium; it never downloads a browser of its own).
# As root it installs what is missing; otherwise it prints the one apt-get line to run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libstorm-dev dynamite
  nlohmann-json3-dev rapidjson-dev libcli11-dev libsqlite3-dev sqlite3 xxd ccache
  chromium nodejs
)

# The browser tests' npm packages, exactly as the lock file pins them; again only when the
# lock file has changed since the last install.
install_browser_test_packages() {
  local dir
  dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/browser" && pwd)"
  if cmp -s "$dir/package-lock.json" "$dir/node_modules/.package-lock.json.installed"; then
    return 0
  fi
  if ! command -v npm >/dev/null; then
    echo "setup: npm not found: the browser tests need Node.js 20 or later with npm" >&2
    return 1
  fi
  echo "setup: installing the browser tests' npm packages (npm ci in $dir)"
  (cd "$dir" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
  cp "$dir/package-lock.json" "$dir/node_modules/.package-lock.json.installed"
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  install_browser_test_packages
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Another installer may hold the package lock for a while: wait for it rather than fail.
  apt-get -o DPkg::Lock::Timeout=600 update -qq
  apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
  install_browser_test_packages
else
  echo "setup: missing packages; run:"
  echo "  sudo apt-get install -y ${missing[*]}"
  exit 1
fi
