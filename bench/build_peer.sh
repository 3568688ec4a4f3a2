#!/usr/bin/env bash
# Builds the benchmarks' peer editor, SciTE for Win32 (SciTE.exe, Scintilla.dll,
# lexilla.dll and its .properties files), with its own makefiles and the same cross
# compiler as Quillet for the architecture (default i686), from the sources
# tools/setup.sh put in the cache. The result is cached per source version, architecture
# and build recipe; prints the folder holding it.
#
# Usage: bench/build_peer.sh SOURCES CACHE JOBS [i686|x86_64]
set -euo pipefail
src=$1 cache=$2 jobs=$3 arch=${4:-i686}
here=$(cd "$(dirname "$0")" && pwd)
key=$(cat "$here/build_peer.sh" | sha1sum | cut -c1-12)
out="$cache/scite-peer-5.3.3-$arch-$key"
if [ -f "$out/bin/SciTE.exe" ]; then
    echo "$out/bin"
    exit 0
fi
rm -rf "$out"
mkdir -p "$out"
# The makefiles build inside their source folders: work on a copy.
cp -a "$src/scintilla" "$src/lexilla" "$src/scite" "$out/"
tools=(CXX=$arch-w64-mingw32-g++-posix CC=$arch-w64-mingw32-gcc-posix AR=$arch-w64-mingw32-ar
       RANLIB=$arch-w64-mingw32-ranlib WINDRES=$arch-w64-mingw32-windres)
{
    # Scintilla's makefile links its DLL statically by itself.
    make -C "$out/scintilla/win32" -j "$jobs" "${tools[@]}" ../bin/Scintilla.dll
    # Lexilla's makefile takes "windir" as the sign of a Windows target; linked statically
    # so that, like Quillet, SciTE loads no MinGW runtime DLLs.
    windir=1 LDFLAGS=-static make -C "$out/lexilla/src" -j "$jobs" "${tools[@]}" ../bin/lexilla.dll
    LDFLAGS=-static make -C "$out/scite/win32" -j "$jobs" "${tools[@]}" \
        ../bin/SciTE.exe ../bin/Scintilla.dll ../bin/lexilla.dll
    # The properties files that SciTE's distribution carries beside the program.
    LDFLAGS=-static make -C "$out/scite/win32" "${tools[@]}" \
        $(cd "$out/scite/src" && ls *.properties | grep -vx -e SciTE.properties -e Embedded.properties | sed 's|^|../bin/|')
} >"$out/build.log" 2>&1 || { tail -40 "$out/build.log" >&2; exit 1; }
mv "$out/scite/bin" "$out/bin"
rm -rf "$out/scintilla" "$out/lexilla" "$out/scite"
echo "$out/bin"
