#!/usr/bin/env bash
# Quillet's one entry point on Debian 12 (as root on a fresh machine):
#   ./build.sh run    install, build and start Quillet under Wine (on Xvfb with a
#                     screenshot when there is no display)
#   ./build.sh test   install, build and run every test
#   ./build.sh dist   install and build the release folder dist/ (and dist.zip)
#   ./build.sh build [native|i686|x86_64|fuzz]...
#                     install and build just those (default: native and both Windows builds)
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

# Windows builds: i686 (the program as shipped) and x86_64 (a native 64-bit build, and
# the one that runs on machines without 32-bit user space). Each has its build folder.
windows_archs=(i686 x86_64)
build_dir() { case $1 in i686) echo build/win32 ;; x86_64) echo build/win64 ;; esac; }
toolchain() { echo "$root/cmake/$1-mingw32.cmake"; }

# Scintilla's core is built once per version, architecture and build recipe, in the cache.
build_scintilla_core() {  # arch
    local arch=$1 key
    key=$(cat scilexer/scintilla_core.cmake scilexer/deps/CMakeLists.txt "$(toolchain "$arch")" | sha1sum | cut -c1-12)
    scintilla_core="$cache/scintilla-core-5.3.3-$arch-$key"
    if [ ! -f "$scintilla_core/libscintilla_static.a" ]; then
        rm -rf "$scintilla_core"
        cmake -S scilexer/deps -B "$scintilla_core" -DSCITE_SRC="$scite" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$(toolchain "$arch")" >/dev/null
        cmake --build "$scintilla_core" -j "$jobs"
    fi
}

# The encoding detector (uchardet, from Debian's source package fetched by setup.sh),
# built once per architecture and recipe, in the cache, as a static library:
#   build_uchardet ARCH  sets uchardet_lib and uchardet_include.
build_uchardet() {
    local arch=$1 toolchain key dir
    toolchain=$(toolchain "$arch")
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

build_windows() {  # arch
    mkdir -p build
    build_scintilla_core "$1"
    build_uchardet "$1"
    configure_and_build "$(build_dir "$1")" -DCMAKE_TOOLCHAIN_FILE="$(toolchain "$1")" \
        -DSCINTILLA_PREBUILT="$scintilla_core/libscintilla_static.a" \
        -DUCHARDET_LIBRARY="$uchardet_lib" -DUCHARDET_INCLUDE_DIR="$uchardet_include"
}

build_all_windows() { local arch; for arch in "${windows_archs[@]}"; do build_windows "$arch"; done; }

# The architectures whose programs this machine can run: QUILLET_ARCHS when set, else
# x86_64 always and i686 when a 32-bit program actually starts (some kernels run no
# 32-bit code at all). Sets test_archs and prints one line saying why.
choose_test_archs() {
    if [ -n "${QUILLET_ARCHS:-}" ]; then
        read -r -a test_archs <<<"${QUILLET_ARCHS//,/ }"
        echo "architectures: ${test_archs[*]} (chosen by QUILLET_ARCHS)"
    elif wine_runs i686; then
        test_archs=(x86_64 i686)
        echo "architectures: x86_64 and i686 (this machine runs 32-bit programs)"
    else
        test_archs=(x86_64)
        local why
        why=$(cat "$cache/setup-32bit" 2>/dev/null || true)
        echo "architectures: x86_64 only, i686 skipped (${why:-32-bit Wine does not start here: $(wine_runs_error i686)})"
    fi
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

# The release folders: the program, its DLLs (without debug sections), the keyword file
# and the skins. dist/ is the i686 program as shipped, dist64/ the 64-bit one.
# Arguments name the architectures (default: both).
make_dist() {
    local arch out bin archs=("$@")
    [ ${#archs[@]} -gt 0 ] || archs=("${windows_archs[@]}")
    for arch in "${archs[@]}"; do
        case $arch in i686) out=dist ;; x86_64) out=dist64 ;; esac
        bin=$(build_dir "$arch")/bin
        rm -rf "$out" "$out.zip"
        mkdir -p "$out/skins"
        cp "$bin/quillet.exe" "$bin/quillet-check.exe" "$bin/SciLexer.dll" "$bin/appface.dll" "$out/"
        "$arch-w64-mingw32-strip" --strip-all "$out"/*.exe "$out"/*.dll
        cp data/qkeywords.txt "$out/"
        cp skin/*.urf "$out/skins/"
        (cd "$out" && zip -qr "../$out.zip" .)
        echo "$out: $root/$out (and $out.zip)"
    done
}

# lexer_bench natively, optimised and without sanitizers.
build_bench_native() {
    local dir=build/bench-native
    mkdir -p build
    cmake -S . -B "$dir" -DSCITE_SRC="$scite" -DCMAKE_BUILD_TYPE=Release >"$dir.configure.log" 2>&1 \
        || { cat "$dir.configure.log"; exit 1; }
    cmake --build "$dir" -j "$jobs" --target lexer_bench
}

cmd_dist() { setup; build_all_windows; make_dist; }

cmd_build() {
    setup
    local part
    for part in "${@:-native i686 x86_64}"; do
        for part in $part; do
            case $part in
                native) build_native ;;
                fuzz) build_fuzz ;;
                i686|x86_64) build_windows "$part" ;;
                *) echo "build: unknown part '$part'" >&2; exit 2 ;;
            esac
        done
    done
}

# The benchmarks measure the 32-bit programs where this machine runs them, else the
# 64-bit ones (QUILLET_BENCH_ARCH chooses); only that architecture is built.
cmd_bench() {
    setup
    local arch=${QUILLET_BENCH_ARCH:-}
    if [ -z "$arch" ]; then
        arch=i686
        wine_runs i686 || arch=x86_64
    fi
    build_windows "$arch"; make_dist "$arch"; build_bench_native
    QUILLET_BENCH_ARCH=$arch bash bench/run.sh "${1:-15}" "$cache" "$scite" "$jobs"
}

cmd_fuzz() { setup; build_fuzz; run_fuzz "${1:-300}"; }

# Starts Quillet from the release folder the machine can run (dist/ where 32-bit programs
# run, dist64/ elsewhere); without a display, on Xvfb with a screenshot.
cmd_run() {
    setup; build_all_windows; make_dist
    local arch=i686 out=dist
    wine_runs i686 || { arch=x86_64; out=dist64; }
    wine_use "$arch"
    local driver headless=0
    driver=$(build_dir "$arch")/bin/qdriver.exe
    [ -z "${DISPLAY:-}" ] && headless=1
    wine_up "$cache/wineprefix-run-$arch"
    if [ $headless = 0 ]; then
        exec wine "$out/quillet.exe"
    fi
    mkdir -p build/screens
    wine "$out/quillet.exe" </dev/null >build/run.log 2>&1 &
    local quillet=$!
    local shot="$root/build/screens/quillet-run.png"
    wine "$driver" wait-frame 20000 >>build/run.log 2>&1 || { cat build/run.log; exit 1; }
    sleep 1  # let the frame finish painting
    wine "$driver" screenshot "$shot" >>build/run.log 2>&1
    wine "$driver" close >>build/run.log 2>&1 || true
    wait "$quillet" || true
    wine_down "$cache/wineprefix-run-$arch"
    echo "screenshot ($arch): $shot"
}

# A 64 KiB file system for the disk-full test (QUILLET_SMALL_DISK), where mounting works.
small_disk_up() {
    local dir="$root/build/small-disk"
    mkdir -p "$dir"
    mountpoint -q "$dir" || mount -t tmpfs -o size=64k quillet-small "$dir" 2>/dev/null || return 0
    export QUILLET_SMALL_DISK="$dir"
}
small_disk_down() { mountpoint -q "$root/build/small-disk" && umount "$root/build/small-disk" || true; }

# Runs one stage of the test run, saying what failed instead of ending the run silently.
stage() {  # name, command...
    local name=$1; shift
    echo "== $name"
    if "$@"; then
        echo "== $name: passed"
    else
        echo "== $name: FAILED"
        failed_stages+=("$name")
    fi
}

run_native_tests() { (cd build/native && ctest --output-on-failure); }

# The Win32 and end-to-end layers of one architecture, in that build's own Wine prefix.
run_windows_tests() {  # arch
    local arch=$1 dir rc=0
    dir=$(build_dir "$arch")
    # Each architecture starts its own display: the previous one's is gone with its prefix.
    unset DISPLAY
    export QUILLET_SCREENS="$root/build/screens/$arch"
    mkdir -p "$QUILLET_SCREENS"
    # The 64-bit end-to-end tests pair Quillet with the 32-bit debugger simulator too,
    # where 32-bit code runs (a 32-bit prefix cannot start a 64-bit simulator).
    unset QUILLET_PEER_SIMULATOR
    if [ "$arch" = x86_64 ] && [[ " ${test_archs[*]} " == *" i686 "* ]]; then
        export QUILLET_PEER_SIMULATOR="$root/build/win32/bin/qolly.exe"
    fi
    wine_use "$arch"
    wine_up "$root/$dir/wineprefix" || { echo "Wine ($arch) did not start: see $root/$dir/wineprefix.state/"; return 1; }
    (cd "$dir" && ctest --output-on-failure) || rc=$?
    wine_down "$root/$dir/wineprefix"
    return $rc
}

cmd_test() {
    failed_stages=()
    setup
    build_native
    build_all_windows
    make_dist
    choose_test_archs
    stage "native tests" run_native_tests
    build_fuzz
    stage "fuzz targets" run_fuzz 12
    unset DISPLAY
    export QUILLET_SOURCE="$root"
    small_disk_up
    local arch
    for arch in "${test_archs[@]}"; do
        stage "Win32 and end-to-end tests ($arch)" run_windows_tests "$arch"
    done
    small_disk_down
    echo "screenshots: $root/build/screens/<architecture>/"
    echo "architectures tested: ${test_archs[*]}"
    if [ ${#failed_stages[@]} -gt 0 ]; then
        printf 'FAILED: %s\n' "${failed_stages[@]}"
        return 1
    fi
}

case "${1:-}" in
    run) cmd_run ;;
    test) cmd_test ;;
    dist) cmd_dist ;;
    build) shift; cmd_build "$@" ;;
    fuzz) cmd_fuzz "${2:-}" ;;
    bench) cmd_bench "${2:-}" ;;
    *) echo "usage: $0 run|test|dist|build [part...]|fuzz [seconds]|bench [rounds]" >&2; exit 2 ;;
esac
