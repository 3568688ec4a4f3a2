#!/usr/bin/env bash
# Quillet's one entry point on Debian 12 (as root on a fresh machine):
#   ./build.sh run    install, build and start Quillet under Wine (on Xvfb with a
#                     screenshot when there is no display)
#   ./build.sh test   install, build and run every test
#   ./build.sh dist   install and build the release folder dist/ (and dist.zip)
#   ./build.sh fuzz [seconds]
#                     install, build and run every fuzz target for that long (default 300)
#   ./build.sh bench [rounds]
#                     install, build Quillet and its peer editor, run the benchmarks for
#                     that many rounds (default 15) and write a dated file in bench/results/
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
# CI may start us without HOME; the cache and Wine want it.
export HOME=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
cd "$root"
cache=${QUILLET_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillet}
scite="$cache/scite-5.3.3"
jobs=$(nproc)
. tools/wine-env.sh

setup() { bash tools/setup.sh; }

configure_and_build() {  # dir, extra cmake args...
    local dir=$1; shift
    cmake -S . -B "$dir" -DSCITE_SRC="$scite" -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1 \
        || { cat "$dir.configure.log"; exit 1; }
    cmake --build "$dir" -j "$jobs"
}

# Scintilla's core is built once per version and build recipe, in the cache.
build_scintilla_core() {
    local key
    key=$(cat scilexer/scintilla_core.cmake scilexer/deps/CMakeLists.txt cmake/i686-mingw32.cmake | sha1sum | cut -c1-12)
    scintilla_core="$cache/scintilla-core-5.3.3-i686-$key"
    if [ ! -f "$scintilla_core/libscintilla_static.a" ]; then
        rm -rf "$scintilla_core"
        cmake -S scilexer/deps -B "$scintilla_core" -DSCITE_SRC="$scite" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-mingw32.cmake" >/dev/null
        cmake --build "$scintilla_core" -j "$jobs"
    fi
}

# The encoding detector (uchardet, from Debian's source package fetched by setup.sh),
# built once per architecture and recipe, in the cache, as a static library:
#   build_uchardet TOOLCHAIN_FILE ARCH  sets uchardet_lib and uchardet_include.
build_uchardet() {
    local toolchain=$1 arch=$2 key dir
    local src="$cache/uchardet-0.0.7"
    local options=(-DBUILD_SHARED_LIBS=OFF -DBUILD_BINARY=OFF -DCMAKE_BUILD_TYPE=Release)
    key=$( (echo "${options[*]}"; cat "$toolchain") | sha1sum | cut -c1-12)
    dir="$cache/uchardet-0.0.7-$arch-$key"
    uchardet_lib="$dir/src/libuchardet.a"
    uchardet_include="$src/src"
    if [ ! -f "$uchardet_lib" ]; then
        rm -rf "$dir"
        { cmake -S "$src" -B "$dir" "${options[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            && cmake --build "$dir" -j "$jobs" --target libuchardet; } >"$dir.log" 2>&1 \
            || { cat "$dir.log"; exit 1; }
    fi
}

build_win32() {
    mkdir -p build
    build_scintilla_core
    build_uchardet "$root/cmake/i686-mingw32.cmake" i686
    configure_and_build build/win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-mingw32.cmake" \
        -DSCINTILLA_PREBUILT="$scintilla_core/libscintilla_static.a" \
        -DUCHARDET_LIBRARY="$uchardet_lib" -DUCHARDET_INCLUDE_DIR="$uchardet_include"
}

build_native() {
    mkdir -p build
    configure_and_build build/native -DQUILLET_SANITIZE=ON
}

# The libFuzzer targets, natively with clang (tests/fuzz/).
build_fuzz() {
    mkdir -p build
    CC=clang CXX=clang++ configure_and_build build/fuzz -DQUILLET_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
}

# Runs each fuzz target for $1 seconds from its seeds; new inputs stay in build/fuzz/corpus.
run_fuzz() {
    local seconds=$1 target rc=0
    for target in $(cd build/fuzz/bin && ls fuzz_* | sed 's/^fuzz_//'); do
        mkdir -p "build/fuzz/corpus/$target"
        if ./build/fuzz/bin/fuzz_"$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="build/fuzz/crash-$target-" "build/fuzz/corpus/$target" "tests/fuzz/seeds/$target" \
            >"build/fuzz/$target.log" 2>&1; then
            echo "fuzz $target: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "build/fuzz/$target.log" | grep -o '[0-9]*$') runs, no fault"
        else
            echo "fuzz $target: FAILED (see build/fuzz/$target.log)"; tail -30 "build/fuzz/$target.log"; rc=1
        fi
    done
    return $rc
}

# The release folder: the program, its DLLs, the keyword file and the skins.
make_dist() {
    rm -rf dist dist.zip
    mkdir -p dist/skins
    cp build/win32/bin/quillet.exe build/win32/bin/SciLexer.dll build/win32/bin/appface.dll dist/
    cp data/qkeywords.txt dist/
    cp skin/*.urf dist/skins/
    (cd dist && zip -qr ../dist.zip .)
    echo "dist: $root/dist (and dist.zip)"
}

# lexer_bench natively, optimised and without sanitizers.
build_bench_native() {
    local dir=build/bench-native
    mkdir -p build
    cmake -S . -B "$dir" -DSCITE_SRC="$scite" -DCMAKE_BUILD_TYPE=Release >"$dir.configure.log" 2>&1 \
        || { cat "$dir.configure.log"; exit 1; }
    cmake --build "$dir" -j "$jobs" --target lexer_bench
}

cmd_dist() { setup; build_win32; make_dist; }

cmd_bench() { setup; build_win32; make_dist; build_bench_native; bash bench/run.sh "${1:-15}" "$cache" "$scite" "$jobs"; }

cmd_fuzz() { setup; build_fuzz; run_fuzz "${1:-300}"; }

cmd_run() {
    setup; build_win32; make_dist
    local headless=0
    [ -z "${DISPLAY:-}" ] && headless=1
    wine_up "$cache/wineprefix-run"
    if [ $headless = 0 ]; then
        exec wine dist/quillet.exe
    fi
    mkdir -p build/screens
    wine dist/quillet.exe </dev/null >build/run.log 2>&1 &
    local quillet=$!
    local shot="$root/build/screens/quillet-run.png"
    wine build/win32/bin/qdriver.exe wait-frame 20000 >>build/run.log 2>&1 || { cat build/run.log; exit 1; }
    sleep 1  # let the frame finish painting
    wine build/win32/bin/qdriver.exe screenshot "$shot" >>build/run.log 2>&1
    wine build/win32/bin/qdriver.exe close >>build/run.log 2>&1 || true
    wait "$quillet" || true
    wine_down "$cache/wineprefix-run"
    echo "screenshot: $shot"
}

# A 64 KiB file system for the disk-full test (QUILLET_SMALL_DISK), where mounting works.
small_disk_up() {
    local dir="$root/build/small-disk"
    mkdir -p "$dir"
    mountpoint -q "$dir" || mount -t tmpfs -o size=64k quillet-small "$dir" 2>/dev/null || return 0
    export QUILLET_SMALL_DISK="$dir"
}
small_disk_down() { mountpoint -q "$root/build/small-disk" && umount "$root/build/small-disk" || true; }

cmd_test() {
    setup
    build_native
    build_win32
    make_dist
    (cd build/native && ctest --output-on-failure)
    build_fuzz
    run_fuzz 12
    unset DISPLAY
    export QUILLET_SOURCE="$root"
    export QUILLET_SCREENS="$root/build/screens"
    mkdir -p "$QUILLET_SCREENS"
    small_disk_up
    wine_up "$root/build/win32/wineprefix"
    local rc=0
    (cd build/win32 && ctest --output-on-failure) || rc=$?
    wine_down "$root/build/win32/wineprefix"
    small_disk_down
    echo "screenshots: $QUILLET_SCREENS"
    return $rc
}

case "${1:-}" in
    run) cmd_run ;;
    test) cmd_test ;;
    dist) cmd_dist ;;
    fuzz) cmd_fuzz "${2:-}" ;;
    bench) cmd_bench "${2:-}" ;;
    *) echo "usage: $0 run|test|dist|fuzz [seconds]|bench [rounds]" >&2; exit 2 ;;
esac
