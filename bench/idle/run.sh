#!/bin/sh
# Builds the program and measures its idle cost: CPU share of one core and memory of its
# whole process tree (WebEngine's processes included), in Xvfb with openbox and a tray, in five
# resting states (among them hidden in the tray and minimised), with the tune playing into a
# private PulseAudio.
# Usage: bench/idle/run.sh [build dir] [--settle s] [--window s] [--keep]
#        (default build dir: build-bench beside the source tree)
set -e
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$source_dir/../build-bench
case "$1" in -*|"") ;; *) build_dir=$1; shift ;; esac
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" --target brindle brindle_data idle_scroll_peer -j2 >/dev/null
exec python3 "$source_dir/bench/idle/idle_bench.py" "$build_dir/bin" "$build_dir/bench/idle_scroll_peer" "$@"
