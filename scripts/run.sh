#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it, optionally on a
# diagram file:  scripts/run.sh [file.abx]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" run
exec "$root/build/release/app/dendrix" "$@"
