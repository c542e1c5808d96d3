#!/usr/bin/env bash
# Installs the built tree into a fresh prefix, then builds the consumer project against it twice
# (CMake package, pkg-config) and runs both builds and the installed tool.
set -euo pipefail
build=$1
source=$2
work=$3
rm -rf "$work"
mkdir -p "$work/data"
cmake --install "$build" --prefix "$work/prefix" >/dev/null

cmake -S "$source" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
MORVIT_DATA_DIR="$work/data" "$work/cmake-build/consumer" "$work/data"

pc=$(dirname "$(find "$work/prefix" -name Morvit32.pc)")
libdir=$(PKG_CONFIG_PATH="$pc" pkg-config --variable=libdir Morvit32)
# shellcheck disable=SC2046
c++ -std=c++20 "$source/consumer.cpp" -o "$work/pkg-consumer" \
  $(PKG_CONFIG_PATH="$pc" pkg-config --cflags --libs Morvit32) -Wl,-rpath,"$libdir"
rm -rf "$work/data"/*
MORVIT_DATA_DIR="$work/data" "$work/pkg-consumer" "$work/data"

"$work/prefix/bin/morvit" --version
