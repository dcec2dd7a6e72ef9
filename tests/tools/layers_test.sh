#!/usr/bin/env bash
# The layer check passes on the tree and fails on a scratch copy given a wrong
# include: a later layer's header, a circle between two domain folders, or Qt
# outside the window folders.
set -euo pipefail
src=$1
check="$src/tools/check_layers.sh"
"$check" "$src" >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
expect_failure() {  # what, then pairs of file and line to add
  local what=$1; shift
  rm -rf "$scratch/tree"; mkdir -p "$scratch/tree"
  (cd "$src" && tar cf - base resources records database events stage world media project app ui tools) | tar xf - -C "$scratch/tree"
  while [ $# -gt 0 ]; do echo "$2" >>"$scratch/tree/$1"; shift 2; done
  if out=$("$check" "$scratch/tree" 2>&1); then
    echo "layer check passed with $what"; exit 1
  fi
  echo "$what: $(echo "$out" | head -n 1)"
}
expect_failure "a later layer" records/serial.cpp '#include "project/project.h"'
expect_failure "a window header in core" app/startup.cpp '#include "stage/window/main_window.h"'
expect_failure "a circle" world/world_map.cpp '#include "stage/stage.h"' stage/stage.cpp '#include "world/world_map.h"'
expect_failure "Qt in core" stage/map_edit.cpp '#include <QWidget>'
echo "layer check: ok"
