#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || true)
[ -z "$files" ] && exit 0
bad=0
for f in $files; do
    if ! clang-format --style=file "$f" | cmp -s - "$f"; then
        echo "format: $f differs from clang-format (run: clang-format -i $f)"
        bad=1
    fi
done
exit $bad
