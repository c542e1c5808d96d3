#!/usr/bin/env bash
# Runs `morvit demo` on a fresh temporary directory, which is kept so that its files can be
# looked into afterwards.
set -euo pipefail
build=${1:-build}
demo=$(mktemp -d "${TMPDIR:-/tmp}/morvit-demo.XXXXXX")
"$build/tools/morvit/morvit" demo "$demo"
echo
echo "The sample project stays in $demo (remove it with: rm -rf $demo)"
