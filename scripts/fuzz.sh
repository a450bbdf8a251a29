#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, in build-fuzz/) and runs them.
#
#   scripts/fuzz.sh                      every target for 20 seconds (what the test command runs)
#   scripts/fuzz.sh TARGET [SECONDS]     one target, for SECONDS (default 600)
#   scripts/fuzz.sh all SECONDS          every target in turn
#   scripts/fuzz.sh TARGET -runs=N ...   anything starting with "-" goes to libFuzzer as it is
#
# Targets: fuzz_text_ops fuzz_code_page fuzz_regex fuzz_headers fuzz_cookies
# fuzz_response_cookies fuzz_url. Each starts from the seeds in fuzz/corpus/TARGET and keeps what
# it finds in build-fuzz/corpus/TARGET; a crash is written to build-fuzz/artifacts/ and ends the
# script with a failure. SMSDOCK_FUZZ_BUILD_DIR names another build folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/ensure-packages.sh"

build_dir="${SMSDOCK_FUZZ_BUILD_DIR:-$root/build-fuzz}"
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DSMSDOCK_FUZZ=ON
fi
cmake --build "$build_dir" --parallel "$(nproc)"

all_targets=(fuzz_text_ops fuzz_code_page fuzz_regex fuzz_headers fuzz_cookies
    fuzz_response_cookies fuzz_url)
which="${1:-all}"
[[ $# -gt 0 ]] && shift
seconds=20
[[ "$which" != all ]] && seconds=600
if [[ $# -gt 0 && "$1" != -* ]]; then
    seconds="$1"
    shift
fi
if [[ "$which" == all ]]; then
    targets=("${all_targets[@]}")
else
    targets=("$which")
fi

mkdir -p "$build_dir/artifacts"
for target in "${targets[@]}"; do
    if [[ ! -x "$build_dir/fuzz/$target" ]]; then
        echo "fuzz.sh: no such target: $target (one of: ${all_targets[*]})" >&2
        exit 2
    fi
    mkdir -p "$build_dir/corpus/$target"
    echo "fuzz.sh: $target for ${seconds}s"
    log="$build_dir/artifacts/$target.log"
    if ! "$build_dir/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build_dir/artifacts/$target-" "$@" \
        "$build_dir/corpus/$target" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz.sh: $target failed; the input is in $build_dir/artifacts/ (log: $log)" >&2
        exit 1
    fi
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" | sed "s/^/  /"
done
