#!/usr/bin/env bash
# Runs the Windows builds under wine: every test suite of each build, then the domains that
# each build's morvit.exe generates for the sample project, compared byte for byte with those
# of the Linux build's morvit.
#
# One wine server serves the whole run: it is started here in a private prefix under the
# build directory, wineboot prepares the prefix once before any test, and the server is ended
# by its process id at the end (also when a step fails).
#
# Usage: windows-tests.sh LINUX_MORVIT BUILD_DIR...
set -euo pipefail
linux_morvit=$(realpath "$1")
shift
root=$(cd "$(dirname "$0")/.." && pwd)

export WINEPREFIX="$root/build-wine/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
export LC_ALL=C.UTF-8                         # UTF-8 names and settings reach wine intact
mkdir -p "$WINEPREFIX"

wineserver --foreground --persistent &
server=$!
# wine's service processes of this prefix (found by the prefix in their environment) outlive
# the server: they are ended by their ids first, then the server.
stop_server() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    [ "$pid" = "$server" ] && continue
    if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      kill "$pid" 2>/dev/null || true
    fi
  done
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
}
trap stop_server EXIT
wine wineboot --init >/dev/null 2>&1

failed=0
for build in "$@"; do
  build=$(realpath "$build")
  echo "== $(basename "$build"): test suites under wine"
  # The DLL is found beside the programs' build tree.
  if ! (cd "$build" && WINEPATH="$build" ctest --output-on-failure -j 2); then failed=1; fi

  tool="$build/tools/morvit/morvit.exe"
  if [ ! -f "$tool" ]; then
    echo "$(basename "$build"): no morvit.exe, the domain comparison cannot run" >&2
    failed=1
    continue
  fi
  echo "== $(basename "$build"): domains of the sample project against the Linux build's"
  work=$(mktemp -d)
  (cd "$work" && "$linux_morvit" demo linux >/dev/null)
  (cd "$work" && WINEPATH="$build" wine "$tool" demo windows >/dev/null)
  linux_files=$(cd "$work/linux/data" && ls | grep -E '\.C[^.]*$' | sort)
  windows_files=$(cd "$work/windows/data" && ls | grep -E '\.C[^.]*$' | sort)
  if [ -z "$linux_files" ] || [ "$linux_files" != "$windows_files" ]; then
    echo "the builds wrote different domain files:" >&2
    diff <(echo "$linux_files") <(echo "$windows_files") >&2 || true
    failed=1
  else
    for file in $linux_files; do
      if ! cmp "$work/linux/data/$file" "$work/windows/data/$file"; then failed=1; fi
    done
    echo "$(echo "$linux_files" | wc -l) domain files byte-identical"
  fi
  rm -rf "$work"
done
exit $failed
