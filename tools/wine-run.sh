#!/usr/bin/env bash
# Runs a Windows program under Wine with the test prefix and display (the CTest
# emulator of the cross build). Stderr of Wine's helpers goes to a log, not the test.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
wine_up "${WINEPREFIX:-$here/../build/win32/wineprefix}"
exec wine "$@"
