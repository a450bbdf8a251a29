#!/usr/bin/env bash
# The Debian package end to end: cpack builds it from the build tree, dpkg -x unpacks it into a
# throwaway root, and the program installed there is started on the offscreen platform with
# every site pointed at a closed port on the loopback interface, so nothing leaves the machine.
#
#   deb_package_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$(cd "$1" && pwd)"
version="$2"
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# ---- The package ----------------------------------------------------------------------------

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack could not build the package"
fi
shopt -s nullglob
debs=("$work"/out/*.deb)
shopt -u nullglob
[[ ${#debs[@]} -eq 1 ]] || fail "expected one .deb, found ${#debs[@]}"
deb="${debs[0]}"
echo "built $(basename "$deb")"
[[ "$(dpkg-deb -f "$deb" Package)" == smsdock ]] || fail "package name is not smsdock"
[[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "package version is not $version"

# Exactly the program and what the desktop needs of it: no demo site, no tests, no libraries.
sizes=(16 22 24 32 48 64 128 256)
expected=(./usr/bin/smsdock ./usr/share/applications/smsdock.desktop
    ./usr/share/icons/hicolor/scalable/apps/smsdock.svg
    ./usr/share/doc/smsdock/LICENSE ./usr/share/doc/smsdock/copyright)
for size in "${sizes[@]}"; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/smsdock.png")
done
actual="$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort)"
wanted="$(printf '%s\n' "${expected[@]}" | sort)"
if [[ "$actual" != "$wanted" ]]; then
    diff <(echo "$wanted") <(echo "$actual") >&2 || true
    fail "the package's files differ from the expected list (< expected, > in the package)"
fi

root="$work/root"
dpkg -x "$deb" "$root"
program="$root/usr/bin/smsdock"
[[ -x "$program" ]] || fail "usr/bin/smsdock is not executable"
if readelf -d "$program" | grep -E '\((RPATH|RUNPATH)\)'; then
    fail "the installed program carries a library search path"
fi

desktop="$root/usr/share/applications/smsdock.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -qx 'Exec=smsdock' "$desktop" || fail "the desktop entry does not start smsdock"
grep -qx 'Icon=smsdock' "$desktop" || fail "the desktop entry does not name the smsdock icon"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in "${sizes[@]}"; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/smsdock.png"
    read -r -a header < <(od -An -tu1 -w24 -N24 "$png")
    [[ "${header[1]}${header[2]}${header[3]}" == "807871" ]] || fail "$png is not a PNG"
    width=$(((header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19]))
    height=$(((header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23]))
    [[ "$width" -eq "$size" && "$height" -eq "$size" ]] ||
        fail "$png is ${width}x${height}, not ${size}x${size}"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/smsdock.svg" || fail "the SVG icon is not SVG"
grep -q 'MIT License' "$root/usr/share/doc/smsdock/copyright" || fail "no licence in the copyright file"

# ---- Its dependencies -----------------------------------------------------------------------

# Depends is a list of groups of alternatives; every name is a package of this system, since
# the program runs on them below.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
names=()
while read -r group; do
    [[ -n "$group" ]] || continue
    found=""
    IFS='|' read -r -a alternatives <<<"$group"
    for alternative in "${alternatives[@]}"; do
        name="$(sed -E 's/^ +//; s/ *\(.*//; s/ +$//' <<<"$alternative")"
        names+=("$name")
        [[ "$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null)" == installed ]] && found=yes
    done
    [[ -n "$found" ]] || fail "no package of '$group' is installed here"
done < <(tr ',' '\n' <<<"$depends")
depends_on() {
    local name
    for name in "${names[@]}"; do [[ "$name" == "$1" ]] && return 0; done
    return 1
}
# Qt's widgets; libqt6gui6 also carries the xcb and offscreen platform plugins and the JPEG
# reader. The CA bundle and the Chinese font are loaded at run time, so no linker finds them.
for needed in libqt6widgets6 libqt6gui6 libcurl4 libicu72 ca-certificates fonts-noto-cjk; do
    depends_on "$needed" || fail "the package does not depend on $needed"
done
# Every library the program is linked against comes from a package it depends on.
# owner_of PATH: the package that installed the file, looked up under the path ldd gives, its
# target, and either one with or without the /usr prefix, since /lib is a link to /usr/lib.
owner_of() {
    local target candidate
    target="$(readlink -f "$1")"
    for candidate in "$1" "$target" "${1#/usr}" "${target#/usr}" "/usr$1" "/usr$target"; do
        if dpkg -S "$candidate" >/dev/null 2>&1; then
            dpkg -S "$candidate" | head -n1 | cut -d: -f1
            return 0
        fi
    done
}
ldd "$program" >"$work/ldd.txt"
if grep -q 'not found' "$work/ldd.txt"; then
    cat "$work/ldd.txt" >&2
    fail "a library of the installed program is missing"
fi
while read -r library; do
    # "libname => /path (address)", or "/path (address)" for the dynamic loader.
    path="$(awk -v lib="$library" '{ n = split($1, part, "/") }
        $1 == lib { print $3 } n > 1 && part[n] == lib { print $1 }' "$work/ldd.txt")"
    [[ -n "$path" ]] || fail "ldd does not resolve $library"
    owner="$(owner_of "$path")"
    [[ -n "$owner" ]] || fail "no package owns $path"
    depends_on "$owner" || fail "$library comes from $owner, which the package does not depend on"
done < <(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')

# ---- The installed program ------------------------------------------------------------------

# A loopback port that refuses connections.
port=""
for candidate in 1 7 9 11 13 17; do
    if ! timeout 2 bash -c "exec 3<>/dev/tcp/127.0.0.1/$candidate" 2>/dev/null; then
        port="$candidate"
        break
    fi
done
[[ -n "$port" ]] || fail "no closed loopback port found"

# Whatever the program hands to the browser is only written down.
mkdir -p "$work/stub" "$work/home" "$work/runtime" "$work/fonts"
chmod 700 "$work/runtime"
cat >"$work/stub/xdg-open" <<EOF
#!/bin/sh
echo "\$*" >> "$work/opened.txt"
EOF
chmod +x "$work/stub/xdg-open"
# A font configuration without a single font.
cat >"$work/nofonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><cachedir>$work/fonts</cachedir></fontconfig>
EOF

# start NAME [VARIABLE=VALUE...]: runs the installed program in a clean environment.
start() {
    local name="$1"
    shift
    env -i PATH="$work/stub:/usr/bin:/bin" HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
        LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen no_proxy='*' NO_PROXY='*' \
        SMSDOCK_PRIMARY_SITE="https://127.0.0.1:$port" \
        SMSDOCK_SECONDARY_SITE="https://127.0.0.1:$port" \
        SMSDOCK_NOTICE_SITE="http://127.0.0.1:$port" \
        SMSDOCK_ARTICLE_SITE="https://127.0.0.1:$port" \
        "$@" "$program" >"$work/$name.out" 2>"$work/$name.err" </dev/null &
    pids+=("$!")
}
start usual
start without_fonts FONTCONFIG_FILE="$work/nofonts.conf"
runs=(usual without_fonts)

# Both are still up after two seconds.
for _ in $(seq 20); do
    sleep 0.1
    for i in "${!runs[@]}"; do
        if ! kill -0 "${pids[$i]}" 2>/dev/null; then
            status=0
            wait "${pids[$i]}" || status=$?
            cat "$work/${runs[$i]}.err" >&2
            fail "the program (${runs[$i]}) ended within two seconds with status $status"
        fi
    done
done
warning='smsdock: no font with Chinese characters'
if grep -F "$warning" "$work/usual.err"; then fail "warned about fonts with a Chinese font installed"; fi
warnings="$(grep -cF "$warning" "$work/without_fonts.err" || true)"
[[ "$warnings" -eq 1 ]] || {
    cat "$work/without_fonts.err" >&2
    fail "without fonts the program warned $warnings times instead of once"
}

# A SIGTERM ends it.
for i in "${!runs[@]}"; do
    kill -TERM "${pids[$i]}"
done
for i in "${!runs[@]}"; do
    for _ in $(seq 50); do
        kill -0 "${pids[$i]}" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "${pids[$i]}" 2>/dev/null && fail "the program (${runs[$i]}) outlived SIGTERM by 5 s"
    status=0
    wait "${pids[$i]}" || status=$?
    [[ "$status" -eq 0 || "$status" -eq 143 ]] ||
        fail "the program (${runs[$i]}) ended with status $status after SIGTERM"
done
pids=()
echo "the installed program came up and ended on SIGTERM"
