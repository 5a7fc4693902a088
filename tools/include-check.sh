#!/usr/bin/env bash
# Layer internals stay private: a file includes from another layer only the
# headers that layer lists as public (PUBLIC_HEADERS of arsipstaf_layer), and
# a public header includes no private one of its own layer. Tests and
# benchmarks may look inside. Run by every build of a layer and by ctest.
#     tools/include-check.sh BUILD_DIR/layers
set -euo pipefail
lists=${1:?give the folder of the header lists}
declare -A folderOf public
folders=()
for list in "$lists"/*.txt; do
  { read -r -a dirs; read -r -a headers || true; } < "$list"
  for dir in "${dirs[@]}"; do
    folders+=("$dir")
    for header in "${headers[@]}"; do public["$dir/$header"]=1; done
    for header in "$dir"/*.h; do
      name=${header##*/}
      folderOf[$name]+="$dir "
    done
  done
done
problems=0
for dir in "${folders[@]}"; do
  for file in "$dir"/*.cpp "$dir"/*.h; do
    [ -e "$file" ] || continue
    while IFS= read -r included; do
      if [ -e "$dir/$included" ]; then
        if [[ $file == *.h && -n ${public[$file]:-} && -z ${public[$dir/$included]:-} ]]; then
          echo "include-check: public $file includes $included, which its layer keeps private"
          problems=$((problems + 1))
        fi
        continue
      fi
      for owner in ${folderOf[$included]:-}; do
        if [ -z "${public[$owner/$included]:-}" ]; then
          echo "include-check: $file includes $owner/$included, which its layer keeps private"
          problems=$((problems + 1))
        fi
      done
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done
done
if [ "$problems" -gt 0 ]; then
  echo "include-check: $problems includes of another layer's internals (make the header public in that layer's CMakeLists.txt, or go through one that is)"
  exit 1
fi
