#!/usr/bin/env bash
# Runs a Windows program under Wine with the test prefix and display (the CTest
# emulator of the cross builds). The program's own header says whether it is a 32-bit
# or a 64-bit one, which picks the loader and the default prefix.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
# The PE header's machine field: 4c01 for i386, 6486 for x86-64 (little-endian).
pe_machine() {
    local offset
    offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    od -An -tx1 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
arch=i686 build=win32
if [ -f "${1:-}" ] && [ "$(pe_machine "$1")" = 6486 ]; then
    arch=x86_64 build=win64
fi
wine_use "$arch"
wine_up "${WINEPREFIX:-$here/../build/$build/wineprefix}" || exit 1
exec wine "$@"
