#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite through ctest.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh"

build_dir="${SMSDOCK_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" "$@"
