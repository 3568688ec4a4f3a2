# Sourced by build.sh and tools/wine-run.sh: a Wine prefix and a display for running
# Quillet and its tests headless. wine_use picks the architecture (the 32-bit or the
# 64-bit loader and prefix kind); wine_up exports WINEPREFIX, DISPLAY and the Wine
# variables, creating the prefix and starting Xvfb and a persistent wineserver as
# needed (each only once per prefix/display).

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko install dialogs, no menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Debian's `wine` script takes the 32-bit loader whenever wine32 is installed, even in a
# 64-bit prefix, so the loader is named directly. Wine finds the other one from
# WINELOADER when a 64-bit program starts a 32-bit one (WoW64) or the reverse.
wine_loader() { case $1 in i686) echo /usr/lib/wine/wine ;; x86_64) echo /usr/lib/wine/wine64 ;; esac; }

# wine_use ARCH (i686 or x86_64): the loader and prefix kind of later wine calls.
wine_use() {
    case $1 in
        i686) export WINEARCH=win32 ;;
        x86_64) export WINEARCH=win64 ;;
        *) echo "wine_use: unknown architecture '$1'" >&2; return 1 ;;
    esac
    WINELOADER=$(wine_loader "$1")
    export WINELOADER
}
wine() { "$WINELOADER" "$@"; }

# wine_runs ARCH: whether this machine can start that Wine loader at all (a kernel
# without IA-32 emulation refuses every 32-bit program). wine_runs_error says why not.
wine_runs() { "$(wine_loader "$1")" --version >/dev/null 2>&1; }
wine_runs_error() { "$(wine_loader "$1")" --version 2>&1 >/dev/null | head -n1; }

wine_use i686

# Starts Xvfb on a free display unless DISPLAY is set (one Xvfb per prefix, reused).
display_up() {
    local state=$1
    if [ -n "${DISPLAY:-}" ]; then
        return
    fi
    if [ -f "$state/display" ]; then
        local d
        d=$(cat "$state/display")
        # Reused only while its server still runs: a machine that restarted leaves the
        # socket and lock file behind.
        if [ -S "/tmp/.X11-unix/X${d#:}" ] && kill -0 "$(tr -d ' ' <"/tmp/.X${d#:}-lock" 2>/dev/null)" 2>/dev/null; then
            export DISPLAY=$d
            return
        fi
    fi
    # One run at a time picks a number and starts its server: two runs started together
    # would otherwise pick the same free number.
    local n=90 i lock
    exec {lock}>/tmp/.quillet-xvfb.lock
    flock "$lock"
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    setsid Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 {lock}>&- &
    for i in $(seq 1 100); do
        [ -S "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    exec {lock}>&-
    echo ":$n" >"$state/display"
    export DISPLAY=":$n"
}

# Scripts with Chinese or Cyrillic comments need a font with those glyphs: the prefix
# gets WenQuanYi Micro Hei (Debian's fonts-wqy-microhei), and the faces the editor and
# the dialogs use link to it for the characters they lack. Once per prefix; needs the
# prefix's wineserver.
wine_script_font() {
    local font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$font" ] && [ ! -f "$fonts/wqy-microhei.ttc" ] || return 0
    mkdir -p "$fonts"
    local face link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in Arial "Courier New" Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
        wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
    done
    cp "$font" "$fonts/"
}

# wine_up PREFIX: prepares PREFIX (created once) and a display.
wine_up() {
    export WINEPREFIX=$1
    local state="$WINEPREFIX.state"
    mkdir -p "$state"
    display_up "$state"
    if [ ! -f "$WINEPREFIX/.quillet-ready" ]; then
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        setsid wineserver -p </dev/null >"$state/wineserver.log" 2>&1 \
            || { echo "wine_up: wineserver did not start (see $state/wineserver.log)" >&2; return 1; }
        wine wineboot -u </dev/null >"$state/wineboot.log" 2>&1 || true
        # No window manager under Xvfb: unmanaged windows make hiding them fast.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        # A crash prints its backtrace instead of waiting in a dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        [ -d "$WINEPREFIX/drive_c/windows" ] \
            || { echo "wine_up: $WINEARCH prefix was not created (see $state/wineboot.log)" >&2; return 1; }
        touch "$WINEPREFIX/.quillet-ready"
    fi
    # Wine draws caption buttons, scroll-bar arrows and check marks with Marlett, which
    # it does not find by itself: without it the caption buttons read "0", "1" and "r".
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        mkdir -p "$fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    # A persistent wineserver keeps later starts fast.
    setsid wineserver -p </dev/null >>"$state/wineserver.log" 2>&1 || true
    # Wine's services (services.exe, rpcss...) start with the first program of a server
    # and keep its output open: started here, they hold no pipe of a test runner, which
    # would otherwise wait for them forever once the prefix existed before this server.
    setsid "$WINELOADER" wineboot </dev/null >>"$state/wineboot.log" 2>&1 || true
    wine_script_font </dev/null
}

# wine_down PREFIX: stops the prefix's wineserver and the Xvfb this script started.
wine_down() {
    export WINEPREFIX=$1
    local state="$WINEPREFIX.state"
    wineserver -k 2>/dev/null || true
    if [ -f "$state/display" ]; then
        local d
        d=$(cat "$state/display")
        pkill -f "Xvfb $d " 2>/dev/null || true
        rm -f "$state/display"
        [ "${DISPLAY:-}" = "$d" ] && unset DISPLAY
    fi
}
