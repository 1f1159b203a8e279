#!/bin/sh
# Runs one test command with a virtual X server of its own as the display
# (DISPLAY, and DRUVO_WINE_DISPLAY for programs run under wine). Xvfb picks a
# free display number itself, so tests can run side by side. When WINEPREFIX
# is set, that prefix's wineserver is ended before and after the command: it
# holds connections to the display it was started with. -noreset: the server
# would otherwise reset whenever its last client leaves, and a test opening a
# connection at that moment would find no display. DRUVO_XFT_DPI, when set, is
# loaded as the server's Xft.dpi resource, as a desktop scaled above 100 % does.
set -u
dir=$(mktemp -d "${TMPDIR:-/tmp}/druvo-xvfb.XXXXXX")
xvfb_pid=""
stop() {
    [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
    rm -rf "$dir"
}
trap stop EXIT
trap 'exit 130' INT TERM

[ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb_pid=$!
# Polls until Xvfb has written its display number, or it died, or 30 s passed.
deadline=$(($(date +%s) + 30))
while [ ! -s "$dir/display" ]; do
    if [ "$(date +%s)" -gt "$deadline" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "xvfb-test: Xvfb did not start" >&2
        cat "$dir/xvfb.log" >&2
        exit 1
    fi
    sleep 0.05
done
display=":$(head -n 1 "$dir/display")"
if [ -n "${DRUVO_XFT_DPI:-}" ]; then
    echo "Xft.dpi: $DRUVO_XFT_DPI" | DISPLAY=$display xrdb -nocpp -merge || exit 1
fi

DISPLAY=$display DRUVO_WINE_DISPLAY=$display "$@"
status=$?
exit $status
