#!/bin/sh
# Prepares a 32-bit wine for the windows-x86 tests and prints its folder.
# Kernels with 32-bit execution switched off cannot start i386 programs, so the
# 32-bit wine loader runs under qemu-i386 (see wine32-run.sh) with a sysroot of
# Debian's i386 packages: wine32 and libwine of the installed wine's version,
# the C library and libgcc. They come from the system's apt sources through a
# private i386 package state; the system's sources, architectures and dpkg
# database stay as they are. The prefix is made by the 64-bit wine and given
# the 32-bit Windows DLLs in syswow64.
# Built once per wine version in ${XDG_CACHE_HOME:-~/.cache}/druvo/wine32
# (DRUVO_WINE32_CACHE overrides), under a lock, so parallel runs share it.
set -eu
root=${DRUVO_WINE32_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/druvo/wine32}
version=$(dpkg-query -W -f='${Version}' wine64)
if [ "$(cat "$root/ready" 2>/dev/null)" = "$version" ]; then
    echo "$root"
    exit 0
fi

mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
flock 9
if [ "$(cat "$root/ready" 2>/dev/null)" = "$version" ]; then
    echo "$root"
    exit 0
fi

echo "wine32-setup: building the 32-bit wine $version in $root" >&2
started=$(date +%s)
rm -rf "$root"
apt="$root/apt"
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/debs" "$root/sysroot"
i386_apt() {
    apt-get -q -oAPT::Architecture=i386 -oAPT::Architectures=i386 \
        -oDir::State::Lists="$apt/lists" -oDir::Cache="$apt/cache" "$@"
}
# A snapshot mirror may carry a stale index beside the ones we need; the
# download below fails if a package really cannot be found.
i386_apt update >&2 || echo "wine32-setup: some package indexes failed; going on" >&2
(cd "$apt/debs" && i386_apt download "wine32=$version" "libwine=$version" libc6 libgcc-s1 >&2)
for deb in "$apt/debs"/*.deb; do
    dpkg -x "$deb" "$root/sysroot"
done

prefix="$root/prefix"
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=$(command -v wine64)
(
    export WINEPREFIX="$prefix" WINEDEBUG=-all WINELOADER="$wine64"
    unset DISPLAY WAYLAND_DISPLAY
    "$wine64" wineboot --init >/dev/null 2>&1
    wineserver -w
)
# zlib1.dll: the i686 build Debian's libz-mingw-w64 installs, which the
# 32-bit wine's DLLs import. Hard links where possible: the sysroot is large.
windows_dlls="$root/sysroot/usr/lib/i386-linux-gnu/wine/i386-windows"
for file in "$windows_dlls"/*.dll "$windows_dlls"/*.exe /usr/i686-w64-mingw32/lib/zlib1.dll; do
    ln -f "$file" "$prefix/drive_c/windows/syswow64/" 2>/dev/null ||
        cp "$file" "$prefix/drive_c/windows/syswow64/"
done
rm -rf "$apt"

echo "$version" >"$root/ready"
echo "wine32-setup: done in $(($(date +%s) - started)) s" >&2
echo "$root"
