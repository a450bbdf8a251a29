#!/usr/bin/env bash
# Sets everything up, builds, starts the demo site on loopback and opens SmsDock against it.
# Arguments go to the demo site (see: build/demo/smsdock-demo-site --help), for instance
# --outdated or --slow-ms 2000. The demo site stops when the window closes.
#
# Without a display ($DISPLAY and $WAYLAND_DISPLAY unset) the window runs on Qt's offscreen
# platform instead: a picture of it is saved after the first listing, its path printed, and
# the program ends.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh"

build_dir="${SMSDOCK_BUILD_DIR:-$root/build}"
run_dir="$(mktemp -d "${TMPDIR:-/tmp}/smsdock-run.XXXXXX")"
env_file="$run_dir/sites.env"
demo_pid=""

stop_demo() {
    if [[ -n "$demo_pid" ]]; then
        kill "$demo_pid" 2>/dev/null || true
        wait "$demo_pid" 2>/dev/null || true
    fi
    rm -rf "$run_dir"
}
trap stop_demo EXIT
trap 'exit 130' INT TERM

# Free ports, so that a second run or another server on the usual ports is no obstacle.
"$build_dir/demo/smsdock-demo-site" --env-file "$env_file" \
    --primary-port 0 --secondary-port 0 --notice-port 0 --article-port 0 "$@" >/dev/null &
demo_pid=$!

for _ in $(seq 100); do
    [[ -f "$env_file" ]] && break
    if ! kill -0 "$demo_pid" 2>/dev/null; then
        echo "run.sh: the demo site did not start" >&2
        exit 1
    fi
    sleep 0.1
done
if [[ ! -f "$env_file" ]]; then
    echo "run.sh: the demo site did not come up within 10 seconds" >&2
    exit 1
fi

# SMSDOCK_PRIMARY_SITE, SMSDOCK_SECONDARY_SITE, SMSDOCK_NOTICE_SITE, SMSDOCK_ARTICLE_SITE and
# SMSDOCK_CA_FILE.
set -a
# shellcheck disable=SC1090
. "$env_file"
set +a

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    picture="$build_dir/smsdock-window.png"
    rm -f "$picture"
    echo "run.sh: no display; running the window offscreen and saving a picture of it" >&2
    status=0
    QT_QPA_PLATFORM=offscreen "$build_dir/demo/smsdock-snapshot" "$picture" 30 || status=$?
    if [[ ! -f "$picture" ]]; then
        echo "run.sh: the program ended before its first listing; no picture was saved" >&2
    fi
    exit "$status"
else
    "$build_dir/app/smsdock"
fi
