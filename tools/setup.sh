#!/usr/bin/env bash
# Installs everything Quillet needs on a Debian 12 machine (run as root; idempotent):
# the i686 and x86_64 cross compilers, 64-bit Wine (and 32-bit Wine where the kernel runs 32-bit
# code), a virtual display, GoogleTest and CMake, and the
# Scintilla/Lexilla/SciTE sources from Debian's "scite" source package into the cache.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# CI may start us without HOME; the cache and Wine want it.
export HOME=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
cache=${QUILLET_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillet}
scite_version=5.3.3

need_root() {
    if [ "$(id -u)" != 0 ]; then
        echo "setup: run as root to install packages" >&2
        exit 1
    fi
}

# What every machine needs: both cross compilers (they run natively whatever they build),
# 64-bit Wine, a virtual display, the test, fuzz and screenshot tools.
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth googletest cmake make g++
          imagemagick xdotool dpkg-dev zip unzip python3 fonts-wine clang libclang-rt-14-dev
          libuchardet-dev fonts-wqy-microhei)
# What only a machine whose kernel runs 32-bit code can use: the i386 architecture and
# 32-bit Wine, for testing the 32-bit program as shipped. QUILLET_32BIT_PACKAGES replaces
# the list (a package that does not exist makes the install fail on purpose).
read -r -a packages_32bit <<<"${QUILLET_32BIT_PACKAGES:-wine32:i386}"

missing_packages() {  # package...
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

# Adds deb-src entries derived from the machine's own package sources, in whichever
# format the machine uses, unless one already exists.
add_deb_src() {
    if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null; then
        return
    fi
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        case "$f" in *quillet-src.sources) continue ;; esac
        grep -q '^Types: *deb *$' "$f" || continue
        sed -e 's/^Types: *deb *$/Types: deb-src/' "$f" > /etc/apt/sources.list.d/quillet-src.sources
        return
    done
    if [ -f /etc/apt/sources.list ] && grep -qE '^deb ' /etc/apt/sources.list; then
        grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' > /etc/apt/sources.list.d/quillet-src.list
    fi
}

# A mirror in the middle of a sync can fail one list among many: the others are still
# refreshed, and an install or source download that needs the failed one says so itself.
refresh_package_lists() {
    apt-get update -qq 2>/dev/null || echo "setup: some package lists could not be refreshed; going on with the others" >&2
}

# Whether the kernel starts a 32-bit program: a 93-byte static i386 ELF that only exits
# with status 0 (a kernel built or booted without IA-32 emulation refuses it).
runs_32bit_code() {
    local probe
    probe=$(mktemp)
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
    chmod +x "$probe"
    local rc=0
    "$probe" 2>/dev/null || rc=1
    rm -f "$probe"
    return $rc
}

# apt_install WHAT PACKAGE...: installs, and when that fails prints one line naming the
# packages and apt's own reason (its "E:" lines) to stderr and returns 1.
apt_install() {
    local what=$1; shift
    local log reason
    log=$(mktemp)
    if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
        rm -f "$log"
        return 0
    fi
    reason=$(grep -E '^E: ' "$log" | sed -e 's/^E: //' | paste -sd ' ' -)
    [ -n "$reason" ] || reason=$(tail -n1 "$log")
    rm -f "$log"
    echo "setup: $what not installed ($*): ${reason:-apt-get failed}" >&2
    return 1
}

# Writes why 32-bit programs are not tested (one line), for the test run to repeat.
note_32bit() { mkdir -p "$cache"; printf '%s\n' "$1" >"$cache/setup-32bit"; }

install_packages() {
    local missing
    missing=$(missing_packages "${packages[@]}")
    if [ -n "$missing" ]; then
        need_root
        refresh_package_lists
        apt_install "required packages" "${packages[@]}" || exit 1
    fi
}

# The 32-bit part never stops the set-up: where it cannot be had, the tests run for x86_64.
install_32bit_packages() {
    if ! runs_32bit_code; then
        note_32bit "this machine's kernel runs no 32-bit code, so 32-bit Wine was not installed"
        echo "setup: $(cat "$cache/setup-32bit")"
        return
    fi
    [ -z "$(missing_packages "${packages_32bit[@]}")" ] && { rm -f "$cache/setup-32bit"; return; }
    need_root
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        refresh_package_lists
    fi
    local err
    if err=$(apt_install "32-bit Wine" "${packages_32bit[@]}" 2>&1); then
        rm -f "$cache/setup-32bit"
    else
        note_32bit "${err#setup: }"
        echo "$err; going on without it" >&2
    fi
}

# The source package's folders we use: Scintilla and Lexilla for the program, SciTE
# (the peer editor of the benchmarks) beside them.
scite_parts=(scintilla lexilla scite)
source_marks=(scintilla/include/Scintilla.h lexilla/include/Lexilla.h scite/win32/SciTEWin.cxx)

missing_sources() {
    local dest=$1 i
    for i in "${!scite_parts[@]}"; do
        [ -f "$dest/${source_marks[$i]}" ] || echo "${scite_parts[$i]}"
    done
}

# unpack_source_package NAME VERSION: downloads Debian's source package of that version
# (else the one the machine offers) and unpacks its upstream tarball into $work/x, a new
# temporary folder the caller removes.
unpack_source_package() {
    local name=$1 version=$2
    need_root
    add_deb_src
    refresh_package_lists
    work=$(mktemp -d)
    (cd "$work" && apt-get source --download-only -qq "$name=$version*" >/dev/null 2>&1 \
        || apt-get source --download-only -qq "$name" >/dev/null)
    mkdir -p "$work/x"
    tar -xf "$(ls "$work"/"$name"_*.orig.tar.* | head -n1)" -C "$work/x"
}

fetch_scintilla() {
    local dest="$cache/scite-$scite_version" missing work
    missing=$(missing_sources "$dest")
    [ -z "$missing" ] && return
    unpack_source_package scite "$scite_version"
    mkdir -p "$dest"
    # The upstream tarball holds scintilla/, lexilla/ and scite/ side by side. Only missing
    # folders are added (each moved in whole), so builds using the others are undisturbed.
    local top part
    top=$(dirname "$(find "$work/x" -maxdepth 3 -type d -name scintilla | head -n1)")
    for part in $missing; do
        rm -rf "$dest/$part.new" "$dest/$part"
        cp -a "$top/$part" "$dest/$part.new"
        mv "$dest/$part.new" "$dest/$part"
    done
    rm -rf "$work"
}

# The encoding detector's sources (Debian's "uchardet" source package), cross-compiled
# for Windows by build.sh; natively the program links Debian's libuchardet-dev.
uchardet_version=0.0.7
fetch_uchardet() {
    local dest="$cache/uchardet-$uchardet_version"
    [ -f "$dest/src/uchardet.h" ] && return
    local work
    unpack_source_package uchardet "$uchardet_version"
    rm -rf "$dest.new"
    mkdir -p "$cache"
    cp -a "$(dirname "$(find "$work/x" -maxdepth 3 -name uchardet.h -path '*/src/*' | head -n1)")/.." "$dest.new"
    rm -rf "$dest"
    mv "$dest.new" "$dest"
    rm -rf "$work"
}

install_packages
install_32bit_packages
fetch_scintilla
fetch_uchardet
echo "setup: ready (sources in $cache/scite-$scite_version)"
