#!/bin/sh
# Builds the POP3 bench and runs it: one full check by our client, curl and
# Python's poplib on the same 1,000-message Dovecot mailbox, then the real
# program's check of that mailbox from its menu to the notice board in Xvfb.
# Usage: bench/pop3/run.sh [build dir]   (default: build-pop3 beside the source tree)
set -e
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$source_dir/../build-pop3}
# The program itself is part of the bench, also in a folder once configured without it.
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLE_BUILD_APP=ON \
    >/dev/null
cmake --build "$build_dir" --target pop3_bench -j2 >/dev/null
exec "$build_dir/tests/integration/pop3_bench"
