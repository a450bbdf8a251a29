#!/usr/bin/env bash
# Sets everything up, builds, and runs the main job.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh"

build_dir="${SMSDOCK_BUILD_DIR:-$root/build}"
if [[ -x "$build_dir/app/smsdock" ]]; then
    exec "$build_dir/app/smsdock" "$@"
fi
echo "Built the libraries and their tests; the window (app/smsdock) is not part of the tree yet."
