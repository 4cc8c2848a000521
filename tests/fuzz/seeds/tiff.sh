#!/usr/bin/env bash
# Seeds the TIFF decoder with the shared corpus of real-world TIFF layouts and the game's own
# generated textures (after a build). Both sources are only read. Usage: tiff.sh CORPUS_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
shopt -s nullglob
for file in "$root"/../shared/tiff-corpus/*.tif* "$root"/build/data/terrain_data/*.tif \
            "$root"/build/data/skyboxes/day/front.tif; do
    cp -f "$file" "$1/$(basename "$(dirname "$file")")-$(basename "$file")"
done
chmod -R u+w "$1"
