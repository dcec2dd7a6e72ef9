#!/usr/bin/env bash
# Makes seed inputs for fuzz_records from the data tool's JSON samples: each seed
# is one byte choosing the file kind (its position in `vantor-data types`), then
# the record file built from the sample.
set -euo pipefail
tool=$1 out=$2
mkdir -p "$out"
tmp=$(mktemp -d)
i=0
while read -r name _; do
  sample="tests/tools/data/${name%.*}.json"
  [[ $name == \*.* ]] && sample="tests/tools/data/${name#\*.}.json"
  if [ -f "$sample" ]; then
    file="$tmp/x_${name#\*}"
    "$tool" build "$sample" "$file" --type "$name"
    { printf "\\$(printf %03o "$i")"; cat "$file"; } > "$out/$i"
  fi
  i=$((i + 1))
done < <("$tool" types)
rm -rf "$tmp"
