#!/usr/bin/env bash
# Runs every benchmark of SmsDock and prints each figure beside its target and its baseline:
#
#   1. the hot paths (smsdock-bench, Google Benchmark) with the std::regex baseline;
#   2. the whole process against the demo site: start to first painted window and start to the
#      first listing shown (hyperfine), and the peak memory of a run that lists ten pages and
#      ten message pages (/usr/bin/time -v);
#   3. headless Chromium opening the same pages (chromium_load.py).
#
# Installs the missing Debian packages of scripts/debian-packages.txt and bench/debian-packages.txt,
# builds in build-bench/ (Release, SMSDOCK_BENCH=ON) and writes everything it measured to
# build-bench/bench-results/. Usage: bench/run.sh [--quick]   (--quick: fewer runs, for a try)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
quick=0
[[ "${1:-}" == "--quick" ]] && quick=1

"$root/scripts/ensure-packages.sh"
"$root/scripts/ensure-packages.sh" "$root/bench/debian-packages.txt"

build="$root/build-bench"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSMSDOCK_BENCH=ON
fi
cmake --build "$build" --parallel "$(nproc)" \
    --target smsdock-bench smsdock-bench-site smsdock-bench-start smsdock-demo-site

out="$build/bench-results"
rm -rf "$out"
mkdir -p "$out"
work="$(mktemp -d "${TMPDIR:-/tmp}/smsdock-bench.XXXXXX")"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

runs=20 warmup=3 repeat=5 large_repeat=3 benchmark_args=()
if ((quick)); then
    runs=5 warmup=1 repeat=2 large_repeat=1 benchmark_args=(--benchmark_min_time=0.05)
fi

{
    echo "nproc: $(nproc)"
    echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "memory: $(grep MemTotal /proc/meminfo | awk '{printf "%.1f GiB", $2 / 1048576}')"
    echo "load before: $(uptime | sed 's/.*load average: //')"
    echo "chromium: $(/usr/bin/chromium --version 2>/dev/null || echo unknown)"
} >"$out/machine.txt"
cat "$out/machine.txt"

# ---- 1. Hot paths ---------------------------------------------------------------------------
echo "== hot paths (smsdock-bench)"
QT_QPA_PLATFORM=offscreen "$build/bench/smsdock-bench" "${benchmark_args[@]}" \
    --benchmark_out="$out/hot_paths.json" --benchmark_out_format=json \
    --benchmark_color=false | tee "$out/hot_paths.txt"

# ---- 2. The whole process against the demo site ---------------------------------------------
# wait_for_file FILE PID: until the server with PID has written FILE.
wait_for_file() {
    local _
    for _ in $(seq 150); do
        [[ -s "$1" ]] && return 0
        kill -0 "$2" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Ten listing pages per platform. No notice box and no update pop-up window, which would wait
# for a click in the middle of the session.
"$build/demo/smsdock-demo-site" --quiet --state-dir "$work/demo" --env-file "$work/sites.env" \
    --primary-port 0 --secondary-port 0 --notice-port 0 --article-port 0 \
    --domestic-pages 10 --no-marker --none-values=notice >"$work/demo.log" 2>&1 &
pids+=("$!")
wait_for_file "$work/sites.env" "$!" || { cat "$work/demo.log" >&2; exit 1; }
set -a
# shellcheck disable=SC1091
. "$work/sites.env"
set +a
export QT_QPA_PLATFORM=offscreen no_proxy="127.0.0.1" NO_PROXY="127.0.0.1"

echo "== start to first painted window, start to first listing shown (hyperfine)"
hyperfine --style basic --warmup "$warmup" --runs "$runs" --export-json "$out/start.json" \
    -n painted "$build/bench/smsdock-bench-start painted" \
    -n listed "$build/bench/smsdock-bench-start listed"

echo "== peak memory of ten listing pages and ten message pages (/usr/bin/time -v)"
for i in 1 2 3; do
    /usr/bin/time -v -o "$out/session-$i.time" "$build/bench/smsdock-bench-start" session 10 10
done

# ---- 3. Headless Chromium on the same pages -------------------------------------------------
"$build/bench/smsdock-bench-site" "$work/fixtures.env" >"$work/fixtures.log" 2>&1 &
pids+=("$!")
wait_for_file "$work/fixtures.env" "$!" || { cat "$work/fixtures.log" >&2; exit 1; }
http_origin="$(sed -n 's/^http=//p' "$work/fixtures.env")"
https_origin="$(sed -n 's/^https=//p' "$work/fixtures.env")"
chromium_load=(python3 "$root/bench/chromium_load.py")

echo "== Chromium: the listing fixture pages"
"${chromium_load[@]}" --repeat "$repeat" "$http_origin/dl/100.html" "$https_origin/dl/100.html" \
    "$http_origin/message/1MiB.html" >"$out/chromium_pages.json"
"${chromium_load[@]}" --repeat "$large_repeat" "$http_origin/dl/10000.html" \
    >"$out/chromium_large.json"

echo "== Chromium: start to the demo site's first listing page"
for i in $(seq "$repeat"); do
    "${chromium_load[@]}" --repeat 1 "$SMSDOCK_PRIMARY_SITE/dl/1.html" >"$out/chromium_start-$i.json"
done

echo "== Chromium: ten listing pages and ten message pages of the demo site"
session_urls=()
for page in $(seq 10); do
    session_urls+=("$SMSDOCK_SECONDARY_SITE/dl/$page.html")
done
first_page="$(curl -sk "$SMSDOCK_PRIMARY_SITE/dl/1.html")"
while read -r number; do
    session_urls+=("$SMSDOCK_PRIMARY_SITE/message/$number.html")
done < <(grep -o 'card-phone" id="[0-9]*"' <<<"$first_page" | grep -o '[0-9]\+' | head -n 10)
/usr/bin/time -v -o "$out/chromium_session.time" \
    "${chromium_load[@]}" --session "${session_urls[@]}" >"$out/chromium_session.json"

echo "load after: $(uptime | sed 's/.*load average: //')" >>"$out/machine.txt"

# ---- Figures against targets and baselines --------------------------------------------------
python3 "$root/bench/summary.py" "$out" | tee "$out/summary.txt"
