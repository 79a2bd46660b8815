#!/bin/sh
# Builds the IMAP push bench and runs it: delivery-to-board times through IDLE
# and the idle cost of the IDLE connection, against a private Dovecot on loopback.
# Usage: bench/imap/run.sh [build dir] [deliveries] [window seconds] [watches]
#        (default build dir: build-imap beside the source tree)
set -e
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$source_dir/../build-imap}
[ $# -gt 0 ] && shift
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build_dir" -DBRINDLE_BUILD_APP=OFF >/dev/null
fi
cmake --build "$build_dir" --target imap_push_bench -j2 >/dev/null
exec "$build_dir/tests/mail/imap/imap_push_bench" "$@"
