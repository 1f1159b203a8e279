#!/usr/bin/env bash
# Screenshots of the editor in real windows, under a virtual X server:
#   x11-editor.png, x11-editor-popup.png      druvo.so in an X11 host window
#   win32-editor.png, win32-editor-popup.png  druvo_x64.dll under wine
# and each at a display scale of 200 % (x11-editor-2x.png ...: Xft.dpi 192;
# wine in a prefix of its own with LogPixels 192)
# into build/window-screenshots/. Builds what it needs in build/linux and
# build/windows-x64 (or DRUVO_LINUX_BUILD / DRUVO_WIN64_BUILD).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
linux_build=${DRUVO_LINUX_BUILD:-$root/build/linux}
win64_build=${DRUVO_WIN64_BUILD:-$root/build/windows-x64}
out=$root/build/window-screenshots

if [ "${1:-}" != "--inside-display" ]; then
    [ -f "$linux_build/CMakeCache.txt" ] || cmake --preset linux -B "$linux_build" >/dev/null
    [ -f "$win64_build/CMakeCache.txt" ] || cmake --preset windows-x64 -B "$win64_build" >/dev/null
    cmake --build "$linux_build" --target x11_snapshot
    cmake --build "$win64_build" --target win32_window_host
    mkdir -p "$out"
    export WINEPREFIX="$win64_build/wine-window-prefix"
    exec scripts/xvfb-test.sh "$0" --inside-display
fi

snapshot=$linux_build/tests/window/x11_snapshot
"$snapshot" editor "$out"

# The wine host prints "open" once the editor shows; the screen is taken
# then, and closing the host's input ends it.
win32_shot() {
    local name=$1 width=$2 height=$3
    shift 3
    local dir
    dir=$(mktemp -d)
    mkfifo "$dir/input"
    scripts/wine-run.sh "$win64_build/tests/window/win32_window_host.exe" "$@" <"$dir/input" >"$dir/log" 2>&1 &
    local host=$!
    exec 9>"$dir/input"
    local deadline=$(($(date +%s) + 60))
    while [ "$(date +%s)" -le "$deadline" ]; do
        grep -q '^open' "$dir/log" && break
        kill -0 "$host" 2>/dev/null || break
        sleep 0.1
    done
    local status=0
    if grep -q '^open' "$dir/log"; then
        "$snapshot" grab "$out/$name" 40 40 "$width" "$height" || status=$?
    else
        cat "$dir/log" >&2
        status=1
    fi
    exec 9>&-
    wait "$host" || status=$?
    rm -rf "$dir"
    return $status
}
win32_shot win32-editor.png 317 59
win32_shot win32-editor-popup.png 317 359 popup

wineserver -k 2>/dev/null || true
echo "Xft.dpi: 192" | xrdb -nocpp -merge
"$snapshot" editor "$out" 2x
WINEPREFIX="$win64_build/wine-window-prefix-192" DRUVO_WINE_LOGPIXELS=192
export WINEPREFIX DRUVO_WINE_LOGPIXELS
win32_shot win32-editor-2x.png 634 118 2x
win32_shot win32-editor-popup-2x.png 634 718 popup 2x
wineserver -k 2>/dev/null || true
ls -1 "$out"
