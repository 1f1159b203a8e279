#!/bin/sh
# Runs a 32-bit Windows program for the windows-x86 tests: the 32-bit wine
# loader under qemu-i386 with the sysroot and prefix of wine32-setup.sh (made
# on first use). Each start costs close to a minute of emulated start-up, and
# the program cannot start other processes. No debug chatter and no display.
set -e
root=$("$(dirname "$0")/wine32-setup.sh")
export WINEPREFIX="$root/prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# The loader would re-execute itself through the i386 preloader, which the
# kernel refuses to start; it stays inside qemu instead.
export WINELOADERNOEXEC=1
unset DISPLAY WAYLAND_DISPLAY
exec qemu-i386 -L "$root/sysroot" "$root/sysroot/usr/lib/wine/wine" "$@"
