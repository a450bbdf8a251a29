#!/usr/bin/env bash
# Takes the README's two pictures of SmsDock against the demo site, on a virtual X display:
#
#   window.png    the window listing the first page of domestic numbers and, after a
#                 double-click on the first number, that number's messages
#   messages.png  the message list and the status line above it, cut from the same moment
#
# Usage: scripts/screenshots.sh [OUTPUT_DIR]   (default: assets/screenshots)
# Needs a built tree (scripts/build.sh; SMSDOCK_BUILD_DIR names another one) and Xvfb, xdotool
# and ImageMagick's import (Debian: apt-get install xvfb xdotool imagemagick).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${SMSDOCK_BUILD_DIR:-$root/build}"
out="${1:-$root/assets/screenshots}"
program="$build_dir/app/smsdock"
demo="$build_dir/demo/smsdock-demo-site"

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "screenshots.sh: $tool is missing (Debian: apt-get install xvfb xdotool imagemagick)" >&2
        exit 1
    fi
done
for built in "$program" "$demo"; do
    if [[ ! -x "$built" ]]; then
        echo "screenshots.sh: $built is not built yet; run scripts/build.sh first" >&2
        exit 1
    fi
done
mkdir -p "$out"

work="$(mktemp -d)"
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill -TERM "${pids[$i]}" 2>/dev/null || true
        wait "${pids[$i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# wait_for SECONDS COMMAND...: retries the command every tenth of a second.
wait_for() {
    local tries=$(($1 * 10))
    shift
    until "$@"; do
        ((--tries > 0)) || return 1
        sleep 0.1
    done
}

# A display of our own, just large enough for the window at 50, 50, without a window manager,
# so that the window shows exactly its client area.
display=90
while [[ -e "/tmp/.X11-unix/X$display" || -e "/tmp/.X$display-lock" ]]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 720x860x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=("$!")
wait_for 10 test -e "/tmp/.X11-unix/X$display" || {
    cat "$work/xvfb.log" >&2
    echo "screenshots.sh: Xvfb did not start" >&2
    exit 1
}
export DISPLAY=":$display"

# The demo site on free ports. No notice box, no update pop-up window and no advert over the
# usage notes, so the pictures show the window itself.
"$demo" --quiet --state-dir "$work/demo" --env-file "$work/sites.env" \
    --primary-port 0 --secondary-port 0 --notice-port 0 --article-port 0 \
    --no-marker --none-values=notice --timer-ms 0 >"$work/demo.log" 2>&1 &
pids+=("$!")
wait_for 15 test -s "$work/sites.env" || {
    cat "$work/demo.log" >&2
    echo "screenshots.sh: the demo site did not start" >&2
    exit 1
}

# Whatever the program hands to the browser is only written down.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$*" >> "%s/opened.txt"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

(
    set -a
    # shellcheck disable=SC1091
    . "$work/sites.env"
    set +a
    export QT_QPA_PLATFORM=xcb LANG="${LANG:-C.UTF-8}"
    export PATH="$work/bin:$PATH" no_proxy="127.0.0.1,localhost" NO_PROXY="127.0.0.1,localhost"
    unset WAYLAND_DISPLAY QT_SCALE_FACTOR
    exec "$program"
) >"$work/smsdock.log" 2>&1 &
pids+=("$!")

window="$(timeout 15 xdotool search --sync --onlyvisible --name 'SmsDock' | head -n1 || true)"
if [[ -z "$window" ]]; then
    cat "$work/smsdock.log" >&2
    echo "screenshots.sh: the main window did not appear" >&2
    exit 1
fi

# The start-up check lists the first domestic page; the demo site answers at once. Then a
# double-click on the first number lists its messages (its first click copies the number).
sleep 3
xdotool mousemove --window "$window" 120 80 click --repeat 2 --delay 120 1
sleep 3
xdotool mousemove 710 850
sleep 0.5
import -window "$window" "$out/window.png"
# 标签2 at 1, 268 and 超级列表框2 at 0, 301, 608 x 203 in the client area.
import -window "$window" -crop 608x236+0+268 +repage "$out/messages.png"

identify "$out/window.png" "$out/messages.png"
