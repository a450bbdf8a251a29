#!/usr/bin/env bash
# Draws SmsDock's three built-in pictures into this folder. The build embeds the committed files
# as they are; run this again only to change them. Needs ImageMagick, qrencode and
# fonts-noto-cjk (Debian: apt-get install imagemagick qrencode fonts-noto-cjk).
#
#   support.png  260 x 220  the notice picture: asks for support to keep the software updated
#   banner.jpg   608 x 200  the advert banner
#   contact.png  430 x 430  the update pop-up window's code: the project homepage
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
homepage="https://smsdock.example/"
font="Noto-Sans-CJK-SC"
bold="Noto-Sans-CJK-SC-Bold"
convert_bin="$(command -v convert)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A QR code of the homepage, sharp pixels, white quiet zone.
qrencode -o "$work/home.png" -s 6 -m 2 -l M "$homepage"
qrencode -o "$work/support.png" -s 4 -m 1 -l M "${homepage}support"

# support.png: a teal card, the code on the left, the plea on the right.
"$convert_bin" -size 260x220 gradient:'#e0f2f1-#b2dfdb' \
    \( "$work/support.png" -resize 120x120 -filter point \) -geometry +12+50 -composite \
    -font "$bold" -pointsize 20 -fill '#00695c' -annotate +12+34 '支持短信码头' \
    -font "$font" -pointsize 14 -fill '#004d40' \
    -annotate +142+80 '扫码访问' -annotate +142+102 '项目主页' \
    -annotate +142+124 '支持我们' -annotate +142+146 '持续更新' \
    -pointsize 12 -fill '#00796b' -annotate +12+200 'smsdock.example · 感谢每一份支持' \
    -depth 8 -strip "$here/support.png"

# banner.jpg: a wide blue banner with the product's name and the homepage.
"$convert_bin" -size 608x200 gradient:'#1565c0-#42a5f5' \
    -fill '#ffffff22' -draw 'circle 540,40 610,40' -draw 'circle 60,190 120,190' \
    -font "$bold" -pointsize 48 -fill white -annotate +40+92 '短信码头 SmsDock' \
    -font "$font" -pointsize 22 -fill '#e3f2fd' -annotate +42+140 '关注项目主页，第一时间获得新版本' \
    -pointsize 18 -annotate +42+172 'smsdock.example' \
    -strip -quality 90 "$here/banner.jpg"

# contact.png: the homepage code on white with its address below.
"$convert_bin" -size 430x430 xc:white \
    \( "$work/home.png" -filter point -resize 360x360 \) -gravity north -geometry +0+12 -composite \
    -gravity south -font "$font" -pointsize 20 -fill '#1565c0' -annotate +0+18 'smsdock.example' \
    -depth 8 -strip "$here/contact.png"

identify "$here/support.png" "$here/banner.jpg" "$here/contact.png"
