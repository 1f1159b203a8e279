#!/bin/sh
# Runs a Windows program under wine for tests: a private prefix (created once,
# under a lock, so parallel tests do not race), no debug chatter, and no
# display unless DRUVO_WINE_DISPLAY names one, so nothing opens a window.
# DRUVO_WINE_LOGPIXELS sets the prefix's display DPI (96 is 100 %); keep it to
# a prefix of its own, as the setting stays with the prefix.
set -e
: "${WINEPREFIX:=${XDG_CACHE_HOME:-$HOME/.cache}/druvo/wine64}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -n "${DRUVO_WINE_DISPLAY:-}" ]; then
    export DISPLAY="$DRUVO_WINE_DISPLAY"
else
    unset DISPLAY WAYLAND_DISPLAY
fi

# Debian keeps the 64-bit loader out of PATH; calling it directly skips the
# wrapper's hint about the missing 32-bit wine.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)

mkdir -p "$(dirname "$WINEPREFIX")"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            WINELOADER="$wine" "$wine" wineboot --init >/dev/null 2>&1 || true
            wineserver -w 2>/dev/null || true
        fi
    ) 9>"$WINEPREFIX.lock"
fi

export WINELOADER="$wine"
if [ -n "${DRUVO_WINE_LOGPIXELS:-}" ]; then
    for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
        "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$DRUVO_WINE_LOGPIXELS" /f >/dev/null 2>&1 ||
            { echo "wine-run: cannot set LogPixels in $key" >&2; exit 1; }
    done
fi
exec "$wine" "$@"
