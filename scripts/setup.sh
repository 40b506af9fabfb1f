#!/usr/bin/env bash
# Makes sure this Debian 12 machine has what Dendrix needs, then configures
# and builds one build tree.
#
#   scripts/setup.sh run    the optimised build of the editor   (build/release)
#   scripts/setup.sh test   the sanitizer build with tests and benchmarks (build/test),
#                           and the libFuzzer targets built with clang (build/fuzz)
#   scripts/setup.sh bench  the optimised build with the benchmarks (build/release)
#
# Missing packages are installed with apt-get when running as root;
# otherwise the exact apt-get line is printed and the script stops.
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libqt6sql6-sqlite libqt6sql6-psql
  libpng-dev libjpeg62-turbo-dev libgif-dev libuemf-dev
  fonts-liberation fonts-wqy-microhei fonts-ipafont-gothic fontconfig xdg-utils shared-mime-info desktop-file-utils
)
if [ "$mode" != run ]; then
  # netpbm decodes PCX files in the tests; graphviz is the benchmarks'
  # yardstick for the export command.
  # postgresql: the database-tree tests run on a throw-away server too.
  packages+=(libbenchmark-dev poppler-utils netpbm graphviz clang libclang-rt-14-dev postgresql)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
  else
    echo "Dendrix needs packages that are not installed. Run:" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
fi

jobs=$(nproc 2>/dev/null || echo 2)
# Worktrees of one repository share compiled objects.
export CCACHE_BASEDIR="$root"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

case "$mode" in
  run)
    dir=$root/build/release
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
    ;;
  bench)
    dir=$root/build/release
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDENDRIX_BENCH=ON "${launcher[@]}"
    ;;
  test)
    dir=$root/build/test
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDENDRIX_SANITIZE=ON \
      -DDENDRIX_TESTS=ON -DDENDRIX_BENCH=ON "${launcher[@]}"
    ;;
  *)
    echo "usage: scripts/setup.sh run|test|bench" >&2
    exit 2
    ;;
esac
cmake --build "$dir" -j "$jobs"

if [ "$mode" = test ]; then
  fuzzdir=$root/build/fuzz
  cmake -S "$root" -B "$fuzzdir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DDENDRIX_FUZZ=ON "${launcher[@]}"
  cmake --build "$fuzzdir" -j "$jobs" --target fuzz_targets
fi
