#!/bin/sh
# Builds the POP3 bench and runs it: one full check by our client, curl and
# Python's poplib on the same 1,000-message Dovecot mailbox.
# Usage: bench/pop3/run.sh [build dir]   (default: build-pop3 beside the source tree)
set -e
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$source_dir/../build-pop3}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build_dir" -DBRINDLE_BUILD_APP=OFF >/dev/null
fi
cmake --build "$build_dir" --target pop3_bench -j2 >/dev/null
exec "$build_dir/tests/mail/pop3/pop3_bench"
