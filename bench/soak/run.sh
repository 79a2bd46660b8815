#!/bin/sh
# Builds the soak bench and runs it: 10,000 mail checks in a row against a
# private Dovecot on loopback, printing resident memory and open descriptors.
# Usage: bench/soak/run.sh [build dir] [checks] [--plain]
#        (default build dir: build-soak beside the source tree)
set -e
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$source_dir/../build-soak}
[ $# -gt 0 ] && shift
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build_dir" -DBRINDLE_BUILD_APP=OFF >/dev/null
fi
cmake --build "$build_dir" --target soak_bench -j2 >/dev/null
exec "$build_dir/tests/mail/pop3/soak_bench" "$@"
