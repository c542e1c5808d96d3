#!/usr/bin/env bash
# Runs the example client on a fresh temporary data directory and lists what it wrote.
set -euo pipefail
build=${1:-build}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
export MORVIT_DATA_DIR="$data"
"$build/examples/c_client"
echo "files in the data directory:"
ls -l "$data"
