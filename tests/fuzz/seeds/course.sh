#!/usr/bin/env bash
# Seeds the course reader with the shipped courses. Usage: course.sh CORPUS_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
for file in "$root"/data/courses/*.txt; do
    cp -f "$file" "$1/shipped-$(basename "$file")"
done
chmod -R u+w "$1"
