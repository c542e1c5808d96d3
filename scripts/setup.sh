#!/usr/bin/env bash
# Installs the Debian packages that building, testing, fuzzing and benchmarking need, and the
# pinned npm packages of the browser tests (tests/browser: playwright-core drives the Debian
# chromium; it never downloads a browser of its own), and the Windows cross-build's: mingw-w64
# (the -posix thread variants), wine for both architectures (wine32 needs the i386
# architecture), Debian's GoogleTest sources, and the SQLite amalgamation for morvit.exe, taken
# from a pinned npm package and checked by its sha256.
# As root it installs what is missing; otherwise it prints the one apt-get line to run.
# Quick when everything is there already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev googletest
  libstorm-dev dynamite
  nlohmann-json3-dev rapidjson-dev libcli11-dev libsqlite3-dev sqlite3 xxd ccache
  python3-dev pybind11-dev python3-pytest
  chromium nodejs
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 wine32:i386
)
apt_options=(-o DPkg::Lock::Timeout=600)

# The SQLite amalgamation (sqlite3.c and sqlite3.h, SQLite 3.53.2) that the npm package
# better-sqlite3 12.11.1 ships; the tarball is checked before anything is taken from it.
sqlite_package=better-sqlite3@12.11.1
sqlite_tarball=better-sqlite3-12.11.1.tgz
sqlite_sha256=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
sqlite_dir="$(cd "$(dirname "$0")/.." && pwd)/third_party/sqlite"

fetch_sqlite() {
  [ -f "$sqlite_dir/sqlite3.c" ] && [ -f "$sqlite_dir/sqlite3.h" ] && return 0
  local work
  work=$(mktemp -d)
  command -v npm >/dev/null || { echo "setup: npm is needed to fetch SQLite for Windows" >&2; exit 1; }
  (cd "$work" && npm pack --silent "$sqlite_package" >/dev/null)
  if ! echo "$sqlite_sha256  $work/$sqlite_tarball" | sha256sum --check --status; then
    echo "setup: $sqlite_tarball does not have the pinned sha256" >&2
    rm -rf "$work"
    exit 1
  fi
  tar -xzf "$work/$sqlite_tarball" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
  mkdir -p "$sqlite_dir"
  mv "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$sqlite_dir/"
  rm -rf "$work"
}

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
  fetch_sqlite
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
  apt-get "${apt_options[@]}" update -qq
  apt-get "${apt_options[@]}" install -y -qq --no-install-recommends "${missing[@]}"
  fetch_sqlite
  install_browser_test_packages
else
  echo "setup: missing packages; run:"
  echo "  sudo dpkg --add-architecture i386 && sudo apt-get update &&"
  echo "  sudo apt-get install -y ${missing[*]}"
  exit 1
fi
