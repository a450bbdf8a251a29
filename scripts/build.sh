#!/usr/bin/env bash
# Installs what is missing, then configures (once) and builds the tree in build/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/ensure-packages.sh"

build_dir="${SMSDOCK_BUILD_DIR:-$root/build}"
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" --parallel "$(nproc)"
