#!/usr/bin/env bash
# Installs everything Quillet needs on a Debian 12 machine (run as root; idempotent):
# the i686 and x86_64 cross compilers, 32- and 64-bit Wine, a virtual display, GoogleTest and CMake, and the
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

packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 xvfb xauth googletest cmake make g++
          imagemagick xdotool dpkg-dev zip unzip python3 fonts-wine clang libclang-rt-14-dev
          libuchardet-dev fonts-wqy-microhei)

missing_packages() {
    local p
    for p in "${packages[@]}"; do
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
    apt-get update -qq || echo "setup: some package lists could not be refreshed; going on with the others" >&2
}

install_packages() {
    local missing
    missing=$(missing_packages)
    dpkg --print-foreign-architectures | grep -qx i386 || { need_root; dpkg --add-architecture i386; missing=yes; }
    if [ -n "$missing" ]; then
        need_root
        export DEBIAN_FRONTEND=noninteractive
        refresh_package_lists
        apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
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
fetch_scintilla
fetch_uchardet
echo "setup: ready (sources in $cache/scite-$scite_version)"
