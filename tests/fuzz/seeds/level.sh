#!/usr/bin/env bash
# Seeds the level reader with the shipped level files. Usage: level.sh CORPUS_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
for file in "$root"/data/levels/*.txt; do
    cp -f "$file" "$1/shipped-$(basename "$file")"
done
chmod -R u+w "$1"
