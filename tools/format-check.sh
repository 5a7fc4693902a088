#!/usr/bin/env bash
# Lists the C++ files that differ from the layout in .clang-format, with the
# number of their lines clang-format would change, and a total. Changes
# nothing. Exits 1 when a file differs: a test of the suite runs it.
#   tools/format-check.sh            every tracked .cpp and .h file
#   tools/format-check.sh FILE...    only these
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
command -v "$format" >/dev/null || { echo "format-check: $format not found (tools/deps.sh installs it)" >&2; exit 2; }
if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
changed=0
differing=0
for file in "${files[@]}"; do
    # Lines of the file that the formatted text does not keep as they are.
    lines=$("$format" --style="file:$PWD/.clang-format" "$file" |
        { diff --old-line-format=$'-\n' --new-line-format='' --unchanged-line-format='' "$file" - || true; } | wc -l)
    if [ "$lines" -gt 0 ]; then
        printf '%5d %s\n' "$lines" "$file"
        changed=$((changed + lines))
        differing=$((differing + 1))
    fi
done
echo "format-check: $differing of ${#files[@]} files differ, $changed lines would change"
[ "$differing" -eq 0 ]
