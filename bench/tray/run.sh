#!/bin/sh
# Builds the program as it is and as it was at a git revision (main unless given), and
# measures the memory of each one's whole process tree visible, hidden in the tray and back,
# in one run on one virtual display.
# Usage: bench/tray/run.sh [build dir] [--before REV] [--settle s] [--keep]
#        (default build dir: build-tray beside the source tree)
set -e
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$source_dir/../build-tray
case "$1" in -*|"") ;; *) build_dir=$1; shift ;; esac
before=main
if [ "$1" = --before ]; then before=$2; shift 2; fi
mkdir -p "$build_dir"
rm -rf "$build_dir/before-source"
mkdir "$build_dir/before-source"
git -C "$source_dir" archive "$before" | tar -x -C "$build_dir/before-source"
for tree in now before; do
    source=$source_dir
    [ $tree = before ] && source=$build_dir/before-source
    if [ ! -f "$build_dir/$tree/CMakeCache.txt" ]; then
        cmake -S "$source" -B "$build_dir/$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    cmake --build "$build_dir/$tree" --target brindle brindle_data -j2 >/dev/null
done
exec python3 "$source_dir/bench/tray/tray_bench.py" "$build_dir/before/bin" "$build_dir/now/bin" "$@"
