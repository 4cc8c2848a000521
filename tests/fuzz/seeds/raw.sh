#!/usr/bin/env bash
# Seeds the raw image reader with the game's generated raw images (after a build).
# Usage: raw.sh CORPUS_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
shopt -s nullglob
for file in "$root"/build/data/terrain_data/*.raw; do
    cp -f "$file" "$1/$(basename "$file")"
done
chmod -R u+w "$1"
