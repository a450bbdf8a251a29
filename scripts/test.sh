#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite through ctest.
#
#   scripts/test.sh [--all] [CTEST ARGUMENTS...]
#
# With --all, or when CI=true, the suite then runs again under the sanitizers and the fuzz
# targets get a short run:
#   build-asan/  every test under AddressSanitizer and UndefinedBehaviorSanitizer
#   build-tsan/  the threaded tests (worker threads against the window thread) under
#                ThreadSanitizer
#   build-fuzz/  each libFuzzer target for 20 seconds (scripts/fuzz.sh)
# The ctest arguments apply to the ordinary and the AddressSanitizer runs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

all=false
[[ "${CI:-}" == true ]] && all=true
if [[ "${1:-}" == --all ]]; then
    all=true
    shift
fi

"$root/scripts/build.sh"

build_dir="${SMSDOCK_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" "$@"

$all || exit 0

# configure_and_build DIR SANITIZERS [TARGETS...]
configure_and_build() {
    local dir="$1" sanitizers="$2"
    shift 2
    if [[ ! -f "$dir/CMakeCache.txt" ]]; then
        cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DSMSDOCK_SANITIZE="$sanitizers" >/dev/null
    fi
    local targets=()
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
}

echo "== AddressSanitizer and UndefinedBehaviorSanitizer =="
configure_and_build "$root/build-asan" address,undefined
# Leaks are reported; the suppressions name only libraries we link but do not own.
ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1" \
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$(nproc)" \
        --label-exclude packaging --timeout 600 "$@"

echo "== ThreadSanitizer =="
# The tests in which a worker thread calls into the window layer, fetches, shows boxes or ends
# the program while the window thread handles input. The hostile matrix's page of 200,000
# numbers is left out here: its 600,000 cross-thread calls take minutes under ThreadSanitizer and
# add nothing the other cases do not check.
threaded='^(ThreadsTest|RetrievalTest|UnreachableSitesTest|StartupCheckTest|Posts/|Versions/|StatusLineColours|ClosedWhileFetching|PictureLinkTest|Ends/ShellEnd|ShellFailedStart|Cases/HostileServer)'
configure_and_build "$root/build-tsan" thread ui_tests e2e_retrieval_tests \
    e2e_unreachable_tests notice_tests notice_probe app_tests shell_probe hostile_tests
TSAN_OPTIONS="suppressions=$root/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1" \
    ctest --test-dir "$root/build-tsan" --output-on-failure --parallel "$(nproc)" \
        --tests-regex "$threaded" --exclude-regex 200000_pattern_matches --timeout 600

echo "== Fuzz targets =="
"$root/scripts/fuzz.sh" all 20
