#!/usr/bin/env bash
# Builds the optimised tree with the benchmarks and runs them (all, or those
# named):  scripts/bench.sh [bench_name ...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" bench
export QT_QPA_PLATFORM=offscreen
cd "$root/build/release/bench"
if [ $# -eq 0 ]; then
  set -- $(find . -maxdepth 1 -type f -executable -name 'bench_*' | sort)
fi
for b in "$@"; do
  echo "== $b"
  "./$(basename "$b")"
done
