#!/usr/bin/env bash
# Checks that the source folders form layers: a file includes headers only from
# its own folder or from folders of an earlier layer, the folders of one layer
# use each other without a circle, and Qt appears only in ui/ and the window/
# folders. Prints each offence and exits 1 when there is one.
#
#   tools/check_layers.sh [SOURCE_DIR]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

# The layers, earliest first. A window/ folder of any domain is in the last one.
rank_of() {
  case "$1" in
    base|resources) echo 0 ;;
    records) echo 1 ;;
    database|events|stage|world|media) echo 2 ;;
    project) echo 3 ;;
    app) echo 4 ;;
    ui) echo 5 ;;
    */window) echo 6 ;;
    tools) echo 7 ;;
    *) echo -1 ;;
  esac
}

# The folder a path belongs to: its top folder, or "<top>/window" inside a window folder.
unit_of() {
  case "$1" in
    */window/*) echo "${1%%/*}/window" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

files=$(find base resources records database events stage world media project app ui tools \
          -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
bad=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT

for f in $files; do
  from=$(unit_of "$f")
  rf=$(rank_of "$from")
  if [ "$rf" -lt 0 ]; then
    echo "$f: folder '$from' is in no layer"; bad=1; continue
  fi
  while IFS= read -r line; do
    inc=${line#*\"}; inc=${inc%%\"*}
    to=$(unit_of "$inc")
    [ -z "$to" ] && continue
    [ "$to" = "$from" ] && continue
    rt=$(rank_of "$to")
    if [ "$rt" -lt 0 ]; then
      echo "$f: includes $inc from '$to', which is in no layer"; bad=1
    elif [ "$rt" -gt "$rf" ]; then
      echo "$f: includes $inc, but '$to' is a later layer than '$from'"; bad=1
    else
      echo "$from $to" >>"$edges"
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$f" || true)
  if [ "$rf" -lt 5 ] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$f"; then
    echo "$f: includes Qt outside ui/ and the window/ folders"; bad=1
  fi
done

# Circles among the folders (tsort names the folders of each loop on stderr).
if ! sort -u "$edges" | tsort >/dev/null 2>"$edges.err"; then
  echo "folders form a circle:"; sed 's/^/  /' "$edges.err"; bad=1
fi
rm -f "$edges.err"

if [ "$bad" -ne 0 ]; then
  exit 1
fi
echo "layers: $(echo "$files" | wc -l) files, no include against the layers"
