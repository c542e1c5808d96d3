#!/bin/sh
# Runs the C client on a fresh data directory: it must exit 0 and leave the domain files of the
# NOBA, REBA and POBA it generates (at least one each), every one padded to 1024 bytes.
# MORVIT_RUNNER, when set, runs the client (wine, for the Windows build).
set -eu
client=$1
data=$2
rm -rf "$data"
mkdir -p "$data"
MORVIT_DATA_DIR="$data" ${MORVIT_RUNNER:-} "$client"
count=$(find "$data" -type f | wc -l)
if [ "$count" -lt 3 ]; then
  echo "expected at least 3 domain files in $data, found $count" >&2
  exit 1
fi
for file in "$data"/*; do
  size=$(wc -c <"$file")
  if [ $((size % 1024)) -ne 0 ] || [ "$size" -eq 0 ]; then
    echo "$file: $size bytes, not a padded domain file" >&2
    exit 1
  fi
done
echo "$count domain files written"
