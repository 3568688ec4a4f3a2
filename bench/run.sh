#!/usr/bin/env bash
# Runs the benchmarks against the peer editor and writes a dated file in bench/results/.
# Called by "./build.sh bench [rounds]" once Quillet (dist/ and dist64/), the launcher, the
# floors and fold_win32_bench (build/win32, build/win64) and lexer_bench (build/bench-native)
# are built; builds the peer itself. Measures the 32-bit programs where this machine runs
# them, else the 64-bit ones (QUILLET_BENCH_ARCH=i686 or x86_64 chooses).
#
# Usage: bench/run.sh ROUNDS CACHE SCITE_SOURCES JOBS
set -euo pipefail
rounds=$1 cache=$2 scite_src=$3 jobs=$4
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
work="$root/build/bench"
mkdir -p "$work" bench/results

. tools/wine-env.sh
arch=${QUILLET_BENCH_ARCH:-}
if [ -z "$arch" ]; then
    arch=i686
    wine_runs i686 || arch=x86_64
fi
case $arch in
    i686) bin=build/win32/bin dist=dist ;;
    x86_64) bin=build/win64/bin dist=dist64 ;;
    *) echo "bench: unknown architecture '$arch'" >&2; exit 2 ;;
esac
echo "bench: the $arch programs"

echo "bench: building the peer (SciTE for Windows, $arch; cached after the first time)"
peer=$(bash bench/build_peer.sh "$scite_src" "$cache" "$jobs" "$arch")

# The 5 MB script: the corpus scripts one after another, each starting on a line of its
# own, repeated until 5 MiB are reached (the same text lexer_bench lexes). The small
# script, the smallest corpus script, tells what a document costs apart from its text.
corpus="$root/../shared/corpus"
[ -d "$corpus" ] || { echo "bench: the corpus of scripts is not at $corpus" >&2; exit 1; }
script="$work/bench-5mb.osc"
small="$work/small.osc"
python3 - "$corpus" "$script" "$small" <<'PY'
import os, sys
corpus, out, small = sys.argv[1:4]
names = sorted(n for n in os.listdir(corpus) if n.endswith((".txt", ".osc")))
if not names:
    sys.exit("bench: no scripts in " + corpus)
scripts = [open(os.path.join(corpus, n), "rb").read() for n in names]
all_scripts = b"".join(s + b"\r\n" for s in scripts)
text = b""
while len(text) < 5 * 1024 * 1024:
    text += all_scripts
open(out, "wb").write(text)
open(small, "wb").write(min(scripts, key=len))
PY

stamp=$(date -u +%Y-%m-%d-%H%M)
{
    echo "nproc=$(nproc)"
    echo "cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "memory=$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
    echo "wine=$(wine_use "$arch" && wine --version)"
    echo "system=$(. /etc/os-release && echo "$PRETTY_NAME"), $(uname -r)"
    echo "compiler=$("$arch"-w64-mingw32-g++-posix --version | head -n1)"
    echo "arch=$arch"
    echo "date=$(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "load=$(cut -d' ' -f1-3 /proc/loadavg)"
    echo "rounds=$rounds"
    echo "script_bytes=$(stat -c %s "$script")"
    echo "small_bytes=$(stat -c %s "$small")"
} >"$work/machine.txt"

# The lexers natively, before the pinning below (they need no Wine).
echo "bench: lexer throughput (native)"
build/bench-native/bin/lexer_bench "$corpus" 15 >"$work/lexer.txt"

# Everything that talks to the wineserver runs on one CPU: on a machine of few cores
# this makes Wine start-ups several times faster and their spread a few percent.
taskset -cp 0 $$ >/dev/null
unset DISPLAY
wine_use "$arch"
prefix="$work/wineprefix-$arch"
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true   # a server from an earlier run was not pinned
wine_up "$prefix"
# A fresh prefix's first wineserver still runs the processes started before its settings
# were written (the desktop among them); a new one starts with the settings in force.
wineserver -k 2>/dev/null || true
wine_up "$prefix"
trap 'wine_down "$prefix"' EXIT

winpath() { local p; p=$(realpath "$1"); echo "Z:${p//\//\\}"; }

raw="$work/times.tsv"
rm -f "$raw"
echo "bench: $rounds rounds of start-up and opens (floors, SciTE, Quillet), pinned to CPU 0"
wine "$bin/launcher.exe" "$(winpath "$work")\\times.tsv" "$rounds" "$(winpath "$script")" "$(winpath "$small")" \
    "$(winpath "$bin/floor_window.exe")" "$(winpath "$bin/floor_parts.exe")" "$(winpath "$peer/SciTE.exe")" \
    "$(winpath "$dist/quillet.exe")" \
    </dev/null >"$work/launcher.log" 2>&1 || { cat "$work/launcher.log"; exit 1; }

# Folding in the editor: the same lexer through SciLexer.dll in a document of the real
# frame, styling the 5 MB script with folding off and on.
echo "bench: folding cost in the editor, pinned to CPU 0"
wine "$bin/fold_win32_bench.exe" "$(winpath "$script")" "$rounds" "$(winpath data/qkeywords.txt)" \
    </dev/null >"$work/fold-editor.txt" 2>"$work/fold-editor.log" || { cat "$work/fold-editor.log"; exit 1; }

python3 bench/report.py "$work/machine.txt" "$raw" "$work/lexer.txt" "$work/fold-editor.txt" >"bench/results/$stamp.md"
echo "bench: results in bench/results/$stamp.md"
cat "bench/results/$stamp.md"
