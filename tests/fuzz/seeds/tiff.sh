#!/usr/bin/env bash
# Seeds the TIFF decoder with every layout of the texture tests (written by tiff_seeds, which is
# built with fuzz_tiff) and the game's own generated textures (after a build, only read).
# Usage: tiff.sh CORPUS_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
"$root/build-fuzz/tests/fuzz/tiff_seeds" "$1"
shopt -s nullglob
for file in "$root"/build/data/terrain_data/*.tif "$root"/build/data/skyboxes/day/front.tif; do
    [ -f "$file" ] || continue
    cp -f "$file" "$1/$(basename "$(dirname "$file")")-$(basename "$file")"
done
chmod -R u+w "$1"
