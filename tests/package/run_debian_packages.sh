#!/usr/bin/env bash
# The Debian packages, tested from the packages and not from the build tree: CPack makes them
# from the build, each is unpacked into one scratch root (dpkg-deb -x), the installed-consumer
# project is built against that root (CMake package and pkg-config), and the packaged tool runs
# its demo from there. Every package and the tool carry the project's one version.
set -euo pipefail
build=$1
source=$2
work=$3
rm -rf "$work"
mkdir -p "$work/root"

(cd "$build" && cpack -G DEB -B "$work/packages" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
fail() { echo "package test: $*" >&2; exit 1; }
packages="libmorvit32-1 libmorvit32-dev morvit"
# The Python module's package, where the build made the module.
[ -d "$build/python/morvit" ] && packages="$packages python3-morvit"
for package in $packages; do
  deb=$(ls "$work/packages"/${package}_*.deb 2>/dev/null | head -n 1 || true)
  [ -n "$deb" ] || fail "no package $package (made: $(ls "$work/packages"))"
  [ "$(dpkg-deb -f "$deb" Package)" = "$package" ] || fail "$deb is not named $package"
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "$deb has version $(dpkg-deb -f "$deb" Version), not $version"
  dpkg-deb -x "$deb" "$work/root"
done

# What each package must hold, under /usr.
usr="$work/root/usr"
for file in lib/libMorvit32.so.1 lib/libMorvit32.so include/morvit/VBase.h \
            lib/cmake/Morvit32/Morvit32Config.cmake lib/pkgconfig/Morvit32.pc \
            share/morvit/job.schema.json bin/morvit share/man/man1/morvit.1 \
            share/bash-completion/completions/morvit; do
  [ -e "$usr/$file" ] || fail "/usr/$file is in no package"
done
# The run time alone: the library package holds no development file.
if dpkg-deb -c "$work/packages"/libmorvit32-1_*.deb | grep -q 'include/\|\.pc$\|cmake'; then
  fail "the library package holds development files"
fi

[ "$("$usr/bin/morvit" --version)" = "morvit $version" ] ||
  fail "the packaged tool says \"$("$usr/bin/morvit" --version)\", not \"morvit $version\""

# A client built against the unpacked packages, through the CMake package and pkg-config.
mkdir -p "$work/data"
cmake -S "$source/tests/consumer" -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$usr" >/dev/null
cmake --build "$work/consumer" >/dev/null
MORVIT_DATA_DIR="$work/data" "$work/consumer/consumer" "$work/data"
rm -rf "$work/data"/*
# shellcheck disable=SC2046
c++ "$source/tests/consumer/consumer.cpp" -o "$work/pkg-consumer" \
  $(PKG_CONFIG_PATH="$usr/lib/pkgconfig" pkg-config --cflags --libs Morvit32) -Wl,-rpath,"$usr/lib"
MORVIT_DATA_DIR="$work/data" "$work/pkg-consumer" "$work/data"

# The packaged tool's demo, from the unpacked root.
(cd "$work" && "$usr/bin/morvit" demo demo >/dev/null 2>"$work/demo.log") ||
  { cat "$work/demo.log"; fail "the packaged tool's demo failed"; }
[ -n "$(ls "$work/demo/data")" ] || fail "the packaged tool's demo wrote no data set"
# The packaged Python module, from the unpacked root, on the demo's data set.
if [ -d "$build/python/morvit" ]; then
  verdicts=$(PYTHONPATH="$usr/lib/python3/dist-packages" LD_LIBRARY_PATH="$usr/lib" /usr/bin/python3 -c '
import sys, morvit
data_set = morvit.DataSet(sys.argv[1])
print(morvit.__file__, morvit.__version__, len(data_set), sum(d.sound for d in data_set))
' "$work/demo/data") || fail "the packaged Python module cannot read the demo data set"
  case "$verdicts" in
    "$usr/lib/python3/dist-packages/morvit/__init__.py $version 29 29") ;;
    *) fail "the packaged Python module says: $verdicts" ;;
  esac
fi
echo "packages ok: $(cd "$work/packages" && ls *.deb | tr '\n' ' ')"
