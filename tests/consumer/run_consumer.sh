#!/usr/bin/env bash
# Installs the built tree into a fresh prefix, then builds the consumer project against it twice
# (CMake package, pkg-config) and runs both builds and the installed tool. For the Windows build
# MORVIT_CONSUMER_CMAKE_ARGS carries the cross toolchain, MORVIT_RUNNER (wine) runs the
# programs, and the pkg-config build is left out (no pkg-config for the cross compiler).
set -euo pipefail
runner=${MORVIT_RUNNER:-}
build=$1
source=$2
work=$3
rm -rf "$work"
mkdir -p "$work/data"
cmake --install "$build" --prefix "$work/prefix" >/dev/null

# A cross-build searches packages under the target's root only: it is pointed at the package.
package_dir=()
if [ -n "$runner" ]; then package_dir=(-DMorvit32_DIR="$work/prefix/lib/cmake/Morvit32"); fi
# shellcheck disable=SC2086
cmake -S "$source" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
  ${MORVIT_CONSUMER_CMAKE_ARGS:-} "${package_dir[@]}" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
if [ -n "$runner" ]; then
  # The installed DLL is found beside the installed tool.
  WINEPATH="$work/prefix/bin" MORVIT_DATA_DIR="$work/data" $runner "$work/cmake-build/consumer.exe" "$work/data"
  WINEPATH="$work/prefix/bin" $runner "$work/prefix/bin/morvit.exe" --version
  exit 0
fi
MORVIT_DATA_DIR="$work/data" "$work/cmake-build/consumer" "$work/data"

pc=$(dirname "$(find "$work/prefix" -name Morvit32.pc)")
libdir=$(PKG_CONFIG_PATH="$pc" pkg-config --variable=libdir Morvit32)
# shellcheck disable=SC2046
c++ "$source/consumer.cpp" -o "$work/pkg-consumer" \
  $(PKG_CONFIG_PATH="$pc" pkg-config --cflags --libs Morvit32) -Wl,-rpath,"$libdir"
rm -rf "$work/data"/*
MORVIT_DATA_DIR="$work/data" "$work/pkg-consumer" "$work/data"

"$work/prefix/bin/morvit" --version
