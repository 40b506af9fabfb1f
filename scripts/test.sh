#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs every test without a display, then runs
# the fuzzers for half a minute each.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" test
cd "$root/build/test"
export QT_QPA_PLATFORM=offscreen

# A PostgreSQL server of the tests' own, stopped whatever happens.
pgdir=$root/build/test/postgresql
while IFS='=' read -r name value; do
  [ -n "$name" ] && export "$name=$value"
done < <("$root/scripts/pg-test-server.sh" start "$pgdir")
trap '"$root/scripts/pg-test-server.sh" stop "${DENDRIX_TEST_PGDIR:-$pgdir}"' EXIT

ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"

# A short run of each fuzzer, seeded with the streams the tests wrote.
seeds=$root/build/test/fuzz-seeds
corpus=$root/build/fuzz/corpus/reader
mkdir -p "$seeds" "$corpus"
"$root/build/fuzz/fuzz/fuzz_reader" -max_total_time=30 -print_final_stats=1 -dict="$root/fuzz/reader.dict" \
  "$corpus" "$seeds"
seeds=$root/build/test/fuzz-seeds-diagram
corpus=$root/build/fuzz/corpus/diagram
mkdir -p "$seeds" "$corpus"
"$root/build/fuzz/fuzz/fuzz_diagram" -max_total_time=30 -print_final_stats=1 -dict="$root/fuzz/diagram.dict" \
  "$corpus" "$seeds"
corpus=$root/build/fuzz/corpus/render
mkdir -p "$corpus"
"$root/build/fuzz/fuzz/fuzz_render" -max_total_time=30 -timeout=10 -print_final_stats=1 \
  -dict="$root/fuzz/diagram.dict" "$corpus" "$seeds"
