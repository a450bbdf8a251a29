#!/usr/bin/env bash
# Draws SmsDock's icon into icons/: the scalable smsdock.svg and the PNG sizes that desktop
# environments look up in the hicolor theme. The build embeds and installs the committed files as
# they are; run this again only to change the icon. Needs rsvg-convert (Debian: apt-get install
# librsvg2-bin).
#
# The icon: a white speech bubble with three dots, resting on a dock, on a blue rounded square.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/icons"
mkdir -p "$out"

cat > "$out/smsdock.svg" <<'SVG'
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <title>SmsDock</title>
  <defs>
    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#42a5f5"/>
      <stop offset="1" stop-color="#1565c0"/>
    </linearGradient>
  </defs>
  <rect x="8" y="8" width="240" height="240" rx="52" fill="url(#sky)"/>
  <path fill="#ffffff" d="M68 44h120a32 32 0 0 1 32 32v64a32 32 0 0 1-32 32h-54l-42 34v-34h-24
    a32 32 0 0 1-32-32v-64a32 32 0 0 1 32-32z"/>
  <circle cx="88" cy="108" r="15" fill="#1565c0"/>
  <circle cx="128" cy="108" r="15" fill="#1565c0"/>
  <circle cx="168" cy="108" r="15" fill="#1565c0"/>
  <rect x="40" y="214" width="176" height="14" rx="7" fill="#ffffff" fill-opacity="0.85"/>
</svg>
SVG

for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$out/smsdock-$size.png" "$out/smsdock.svg"
done
ls -l "$out"
