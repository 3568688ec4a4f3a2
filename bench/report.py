"""Writes the Markdown results of a benchmark run (bench/run.sh) to stdout: the machine,
then every figure as a median with its spread, beside its peer's, as a ratio.

Usage: report.py MACHINE_FILE TIMES_TSV LEXER_OUTPUT [FOLD_EDITOR_OUTPUT]
"""
import re
import statistics
import sys


def read_machine(path):
    machine = {}
    for line in open(path, encoding="utf-8"):
        key, _, value = line.rstrip("\n").partition("=")
        machine[key] = value
    return machine


def read_times(path):
    """case -> list of (ms, ms after the drop, peak working set, ms from the drop until
    the script check's count shows), round 0 left out."""
    times = {}
    for line in open(path, encoding="utf-8"):
        case, round_number, ms, after_drop, peak, checked = line.split("\t")
        if int(round_number) == 0:
            continue
        times.setdefault(case, []).append((float(ms), float(after_drop), int(peak), float(checked)))
    return times


def spread(values):
    """Median, and the distance from the smallest to the largest value relative to it."""
    median = statistics.median(values)
    return median, (max(values) - min(values)) / median if median else 0.0


def ms_cell(values):
    median, relative = spread(values)
    return f"{median:.1f} ms (±{100 * relative / 2:.0f} %)"


def mib(value):
    return f"{value / 1048576:.1f} MiB"


def verdict(ratio, goal):
    return "met" if ratio <= goal else "missed"


def main():
    machine = read_machine(sys.argv[1])
    times = read_times(sys.argv[2])
    lexer = open(sys.argv[3], encoding="utf-8").read()
    # fold_win32_bench's output; runs from before it existed have none.
    fold_editor = open(sys.argv[4], encoding="utf-8").read() if len(sys.argv) > 4 else ""

    def column(case, index):
        return [row[index] for row in times[case]]

    floor = column("floor-start", 0)
    parts = column("parts-start", 0)
    scite_start, quillet_start = column("scite-start", 0), column("quillet-start", 0)
    scite_open, quillet_open = column("scite-open", 0), column("quillet-open", 0)
    quillet_after_drop = column("quillet-open", 1)
    start_ratio = statistics.median(quillet_start) / statistics.median(scite_start)
    floor_ratio = statistics.median(quillet_start) / statistics.median(floor)
    parts_ratio = statistics.median(quillet_start) / statistics.median(parts)
    parts_fastest_ratio = min(quillet_start) / min(parts)
    open_ratio = statistics.median(quillet_open) / statistics.median(scite_open)
    # The part of the open after start-up: Quillet's is timed from the drop; SciTE's is
    # its open time less its median start-up (it reads the file while starting).
    scite_load = statistics.median(scite_open) - statistics.median(scite_start)
    quillet_load = statistics.median(quillet_after_drop)

    peak = {case: statistics.median(column(case, 2)) for case in times}
    scite_added = peak["scite-open"] - peak["scite-start"]
    # The script's own cost with the checks off (earlier runs read the peak before the
    # first check had run); what the first check adds is a figure of its own below.
    quillet_added = peak["quillet-open-unchecked"] - peak["quillet-start"]
    quillet_added_checked = peak["quillet-open"] - peak["quillet-start"]
    memory_ratio = quillet_added / scite_added if scite_added > 0 else float("inf")
    # The whole peak with the script open, styled and (Quillet) checked once, against
    # SciTE's with the same script; and Quillet's with the checks off.
    checked_ratio = peak["quillet-open"] / peak["scite-open"]
    unchecked_ratio = peak["quillet-open-unchecked"] / peak["scite-open"]
    # What a document costs apart from its text (the smallest corpus script), and what
    # the 5 MB text costs beyond that.
    scite_document = peak["scite-open-small"] - peak["scite-start"]
    quillet_document = peak["quillet-open-small"] - peak["quillet-start"]
    scite_text = peak["scite-open"] - peak["scite-open-small"]
    quillet_text = peak["quillet-open-unchecked"] - peak["quillet-open-small"]
    text_ratio = quillet_text / scite_text if scite_text > 0 else float("inf")

    lexer_ratio = float(re.search(r"ratio script/asm:\s*([0-9.]+)", lexer).group(1))
    script_speed = re.search(r"script lexer \(98\):\s*([0-9.]+)", lexer).group(1)
    asm_speed = re.search(r"asm lexer:\s*([0-9.]+)", lexer).group(1)
    folded_speed = re.search(r"script lexer\+fold:\s*([0-9.]+)", lexer).group(1)
    fold_ratio = float(re.search(r"ratio lex\+fold/lex:\s*([0-9.]+)", lexer).group(1))
    editor_fold = None
    if fold_editor:
        editor_fold = (
            float(re.search(r"ratio lex\+fold/lex in the editor:\s*([0-9.]+)", fold_editor).group(1)),
            re.search(r"editor lexing\+fold:\s*([0-9.]+)", fold_editor).group(1),
            re.search(r"editor lexing:\s*([0-9.]+)", fold_editor).group(1),
            float(re.search(r"ratio styled again \(the lexer's own passes\):\s*([0-9.]+)", fold_editor).group(1)),
            float(re.search(r"ratio without change notifications:\s*([0-9.]+)", fold_editor).group(1)),
        )

    out = []
    out.append(f"# Benchmark results, {machine['date']}")
    out.append("")
    out.append("Made by `./build.sh bench` (bench/run.sh). Every figure is measured in the same run as its")
    out.append("peer and given as a ratio; times are medians of the rounds with half the range from the")
    out.append("fastest to the slowest round as the spread. The peer is SciTE built for Win32 by its own")
    out.append("makefiles with the same cross compiler from the same Debian `scite` source package as")
    out.append("Quillet's Scintilla. The same-parts floor is a program that shows what Quillet's first paint")
    out.append("shows and nothing more (a frame with a menu bar of six menus, a comctl32 tool bar of 14")
    out.append("buttons, a three-part status bar and an MDI client), at the size Quillet's frame has on a")
    out.append("first start (as large as a frame may grow, less the taskbar), so both paint the same area;")
    out.append("the bare floor only opens a window.")
    out.append("Xvfb, the wineserver and every Wine process run on CPU 0 (`taskset -c 0`).")
    out.append("")
    out.append("## Machine")
    out.append("")
    out.append(f"- CPUs: {machine['nproc']} ({machine['cpu']})")
    out.append(f"- memory: {machine['memory']}")
    out.append(f"- Wine: {machine['wine']}; system: {machine['system']}")
    out.append(f"- compiler: {machine['compiler']}; programs measured: {machine.get('arch', 'i686')}")
    out.append(f"- load average (1, 5, 15 minutes) when the run started: {machine.get('load', 'not recorded')}")
    out.append(f"- rounds: {machine['rounds']} (after one uncounted warm-up round);"
               f" script: {int(machine['script_bytes']):,} bytes of corpus scripts")
    out.append("")
    out.append("## Goals")
    out.append("")
    out.append("| figure | Quillet | SciTE | ratio | goal | |")
    out.append("|---|---|---|---|---|---|")
    out.append(f"| start-up: process start until the main window is visible and answers"
               f" | {ms_cell(quillet_start)} | {ms_cell(scite_start)} | {start_ratio:.2f}"
               f" | ≤ 1.2 | {verdict(start_ratio, 1.2)} |")
    out.append(f"| start-up against the same-parts floor (frame, menu bar, tool bar, status bar, MDI client)"
               f" | {ms_cell(quillet_start)} | floor {ms_cell(parts)} | {parts_ratio:.2f}"
               f" (fastest rounds {parts_fastest_ratio:.2f}) | ≤ 1.10 | {verdict(parts_ratio, 1.10)} |")
    out.append(f"| start-up against the bare floor (a program that only opens a window), for reference"
               f" | {ms_cell(quillet_start)} | floor {ms_cell(floor)} | {floor_ratio:.2f} | | |")
    out.append(f"| open the 5 MB script: process start until it is in the editor and fully styled"
               f" | {ms_cell(quillet_open)} | {ms_cell(scite_open)} | {open_ratio:.2f}"
               f" | ≤ 1.2 | {verdict(open_ratio, 1.2)} |")
    out.append(f"| peak working set the 5 MB script adds (open minus start-up), Quillet with the checks off"
               f" | {mib(quillet_added)} ({mib(quillet_added_checked)} checked) | {mib(scite_added)}"
               f" | {memory_ratio:.2f}"
               f" | ≤ 1.0 | {verdict(memory_ratio, 1.0)} |")
    out.append(f"| peak working set with the 5 MB script open, styled and, in Quillet, checked once"
               f" | {mib(peak['quillet-open'])} | {mib(peak['scite-open'])} | {checked_ratio:.2f}"
               f" | ≤ 1.0 | {verdict(checked_ratio, 1.0)} |")
    out.append(f"| lexer throughput, natively, script lexer against Lexilla's `asm` lexer"
               f" | {script_speed} MB/s | {asm_speed} MB/s (asm) | {lexer_ratio:.2f}"
               f" | ≥ 1.0 | {'met' if lexer_ratio >= 1.0 else 'missed'} |")
    out.append(f"| folding cost, natively: script lexer lexing and folding against lexing alone"
               f" | {folded_speed} MB/s | {script_speed} MB/s (lexing) | {fold_ratio:.2f}"
               f" | ≤ 1.2 | {verdict(fold_ratio, 1.2)} |")
    if editor_fold:
        ratio, folded, lexed = editor_fold[:3]
        out.append(f"| folding cost, in the editor: the 5 MB script styled with folding on against off,"
                   f" in a document of Quillet's frame (Scintilla under Wine)"
                   f" | {folded} MB/s | {lexed} MB/s (lexing) | {ratio:.2f}"
                   f" | ≤ 1.2 | {verdict(ratio, 1.2)} |")
    out.append("")
    out.append("## Details")
    out.append("")
    out.append(f"- floors: a window only {ms_cell(floor)}, the same parts {ms_cell(parts)}; start-up above"
               f" the same-parts floor: Quillet {statistics.median(quillet_start) - statistics.median(parts):.1f} ms,"
               f" SciTE {statistics.median(scite_start) - statistics.median(parts):.1f} ms")
    out.append(f"- the open after start-up: Quillet {quillet_load:.1f} ms from the drop"
               f" ({ms_cell(quillet_after_drop)}), SciTE about {scite_load:.1f} ms"
               f" (its open less its start-up)")
    out.append(f"- memory of a document apart from its text (the smallest corpus script,"
               f" {int(machine['small_bytes']):,} bytes, minus start-up): Quillet {mib(quillet_document)},"
               f" SciTE {mib(scite_document)} (SciTE starts with an empty document, Quillet with none);"
               f" memory of the 5 MB text beyond that (checks off): Quillet {mib(quillet_text)}, SciTE {mib(scite_text)},"
               f" ratio {text_ratio:.2f}")
    out.append(f"- script checks: the first check of the 5 MB script shows its count"
               f" {ms_cell(column('quillet-open', 3))} after the drop; peak working set with the script"
               f" and the checks off ([ScriptChecks] Off=1): {mib(peak['quillet-open-unchecked'])}"
               f" (ratio to SciTE {unchecked_ratio:.2f}), with them on {mib(peak['quillet-open'])}")
    if editor_fold:
        out.append(f"- folding in the editor, where its cost lies: styling the styled text again (the"
                   f" lexer's own passes, no level changes) {editor_fold[3]:.2f} times lexing alone; the"
                   f" first styling with the change notifications to the document window off"
                   f" {editor_fold[4]:.2f}")
    out.append(f"- opening the smallest corpus script from process start: Quillet"
               f" {ms_cell(column('quillet-open-small', 0))}, SciTE {ms_cell(column('scite-open-small', 0))}")
    out.append(f"- peak working set: Quillet {mib(peak['quillet-start'])} after start-up,"
               f" {mib(peak['quillet-open'])} with the script; SciTE {mib(peak['scite-start'])},"
               f" {mib(peak['scite-open'])}")
    out.append("")
    out.append("The feature benchmarks (breakpoint toggle, saving moved marks, replace all, typing aids,")
    out.append("script checks, encoding) print their figures against their own peers when run by hand:")
    out.append("see bench/README.md.")
    out.append("")
    print("\n".join(out))


if __name__ == "__main__":
    main()
