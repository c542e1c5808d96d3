#!/usr/bin/env bash
# Runs the Windows builds under wine: every test suite of each build, the tool's suites of the
# Linux build against each build's morvit.exe, then the domains and listings that morvit.exe
# makes for the sample project, compared byte for byte with those of the Linux build's morvit,
# and the release archive of each build, unpacked: its files, its demo and its C client.
#
# One wine server serves the whole run: it is started here in a private prefix under the
# build directory, wineboot prepares the prefix once before any test, and the server is ended
# by its process id at the end (also when a step fails).
#
# Usage: windows-tests.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR...
set -euo pipefail
linux_build=$(realpath "$1")
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

# Makes the build's archive (morvit-VERSION-win32.zip or -win64.zip), unpacks it into a scratch
# directory and runs what it holds from there: morvit.exe demo and the C client, with nothing of
# the build tree on wine's path.
check_archive() {
  local build=$1 packages unpacked zip folder file
  packages=$(mktemp -d)
  unpacked=$(mktemp -d)
  (cd "$build" && cpack -G ZIP -B "$packages" >"$packages/cpack.log" 2>&1) ||
    { cat "$packages/cpack.log" >&2; rm -rf "$packages" "$unpacked"; return 1; }
  zip=$(ls "$packages"/morvit-*-win*.zip)
  (cd "$unpacked" && cmake -E tar xf "$zip")
  folder="$unpacked/$(basename "$zip" .zip)"
  for file in bin/Morvit32.dll bin/morvit.exe bin/c_client.exe lib/libMorvit32.dll.a \
              lib/Morvit32.lib lib/Morvit32.def lib/cmake/Morvit32/Morvit32Config.cmake \
              include/morvit/VBase.h share/morvit/job.schema.json; do
    if [ ! -f "$folder/$file" ]; then
      echo "$(basename "$zip"): no $file" >&2
      rm -rf "$packages" "$unpacked"
      return 1
    fi
  done
  local status=0
  (cd "$unpacked" && wine "$folder/bin/morvit.exe" demo demo >/dev/null) || status=1
  [ -n "$(ls "$unpacked/demo/data" 2>/dev/null)" ] || { echo "the archive's demo wrote nothing" >&2; status=1; }
  MORVIT_RUNNER=wine sh "$root/tests/run_c_client.sh" "$folder/bin/c_client.exe" "$unpacked/c-client-data" ||
    status=1
  [ $status -eq 0 ] && echo "$(basename "$zip"): files, demo and C client ok"
  rm -rf "$packages" "$unpacked"
  return $status
}

failed=0
for build in "$@"; do
  build=$(realpath "$build")
  name=$(basename "$build")
  echo "== $name: test suites under wine"
  # The DLL is found beside the programs' build tree.
  if ! (cd "$build" && WINEPATH="$build" ctest --output-on-failure -j 2); then failed=1; fi

  tool="$build/tools/morvit/morvit.exe"
  if [ ! -f "$tool" ]; then
    echo "$name: no morvit.exe, the tool's suites and the domain comparison cannot run" >&2
    failed=1
    continue
  fi
  # The tool's suites run each command as a process: here the Windows morvit.exe, through a
  # launcher that the suites take for the tool.
  launcher="$root/build-wine/morvit-$name"
  printf '#!/bin/sh\nWINEPATH="%s" exec wine "%s" "$@"\n' "$build" "$tool" >"$launcher"
  chmod +x "$launcher"
  echo "== $name: the tool's suites against morvit.exe"
  # Left out: the tables that stop the tool with POSIX signals at chosen moments and drive it
  # through FIFOs, file-size limits and pseudo-terminals (the Windows tool's console control
  # events are not signals that a POSIX shell can send to a program under wine).
  if ! (cd "$linux_build" && MORVIT_TOOL="$launcher" tests/morvit_tool_tests --gtest_brief=1 \
          --gtest_filter=-InterruptedCommands.*:FailureWords.SayTheCauseAndReportEveryWayOut); then
    failed=1
  fi

  echo "== $name: the sample project's files against the Linux build's"
  work=$(mktemp -d)
  (cd "$work" && "$linux_build/tools/morvit/morvit" demo linux >/dev/null)
  (cd "$work" && "$launcher" demo windows >/dev/null)
  # Every domain file and every listing (the demo lists without time stamps).
  linux_files=$(cd "$work/linux/data" && ls | sort)
  windows_files=$(cd "$work/windows/data" && ls | sort)
  if [ -z "$linux_files" ] || [ "$linux_files" != "$windows_files" ]; then
    echo "the builds wrote different files:" >&2
    diff <(echo "$linux_files") <(echo "$windows_files") >&2 || true
    failed=1
  else
    for file in $linux_files; do
      if ! cmp "$work/linux/data/$file" "$work/windows/data/$file"; then failed=1; fi
    done
    echo "$(echo "$linux_files" | grep -c '\.C') domain files and $(echo "$linux_files" | grep -c '\.D') listings byte-identical"
  fi
  rm -rf "$work"

  echo "== $name: the release archive, unpacked"
  if ! check_archive "$build"; then failed=1; fi
done
exit $failed
