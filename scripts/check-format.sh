#!/usr/bin/env bash
# Lists the C and C++ sources of the project that clang-format 14 would change
# under .clang-format, and fails when there is any. Tracked files only, so build
# folders and local files stay out. Fix one with: clang-format-14 -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$formatter" ]; then
    echo "check-format: clang-format 14 not found" >&2
    exit 2
fi

unformatted=()
while IFS= read -r -d '' file; do
    if ! "$formatter" --style=file "$file" | cmp -s "$file" -; then
        unformatted+=("$file")
    fi
done < <(git ls-files -z -- '*.c' '*.cpp' '*.h')

if [ ${#unformatted[@]} -gt 0 ]; then
    printf 'not formatted: %s\n' "${unformatted[@]}" >&2
    echo "check-format: ${#unformatted[@]} file(s) differ from .clang-format" >&2
    exit 1
fi
echo "check-format: all C/C++ sources formatted"
