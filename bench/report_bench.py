"""The HTML report's figures for ./dev bench (run_bench.py calls it): on
the 100 thousand line statement, the time the import tool takes to write
the report (its run with --report less its run without, in wall-clock
seconds and in the processor seconds of the tool's process: the median of
five such differences, each of two runs made one after the other, so that
what the machine's other load adds to both runs cancels), the report's
bytes per line of the file, its memory per line with
--report, and the time headless Chromium takes to render it (--dump-dom,
best of two, the browser's own start-up included). And for a statement of
50 thousand balance breaks: the size of the report's chart (its SVG) and of
the page, and the time Chromium takes to render it.
"""
import os
import statistics
import subprocess
import time

from buildtools import headless_chromium

REPORT_SIZE = 100_000
BREAKS = 50_000


PAIRS = 5  # runs with and without the report, one after the other


def run_seconds(command):
    """The wall-clock and the processor seconds (user and system, of the
    process Wine runs the tool in) of one run."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"bench: {' '.join(command)} failed:\n{errors}")
    return seconds, usage.ru_utime + usage.ru_stime


def paired_seconds(command, with_option):
    """Runs COMMAND and COMMAND with WITH_OPTION one after the other, PAIRS
    times: the least seconds of each (wall clock and processor), and the
    median of the pairs' differences. Taking the least of each apart and
    subtracting them mixes runs the machine's other load slowed by
    different amounts: the difference of two such minima can come out
    below zero."""
    runs = [(run_seconds(command), run_seconds(command + with_option)) for _ in range(PAIRS)]

    def figures(measure):
        without = [pair[0][measure] for pair in runs]
        added = [pair[1][measure] for pair in runs]
        return min(without), min(added), statistics.median(b - a for a, b in zip(without, added))

    return figures(0), figures(1)


def report_figures(tool_command, peak_rss, statement, start_up_statement, work):
    """TOOL_COMMAND(path, *options) gives the tool's command line for a
    statement; PEAK_RSS(command) its peak memory and the lines it imported."""
    os.makedirs(work, exist_ok=True)
    report = os.path.join(work, "report-100k.html")
    with open(statement, "rb") as handle:
        lines = sum(1 for _ in handle)
    report_option = ["--report", "Z:" + report]
    (without, written, report_seconds), (without_processor, written_processor, report_processor_seconds) = \
        paired_seconds(tool_command(statement), report_option)
    peak, imported = peak_rss(tool_command(statement, *report_option))
    start_up, _ = peak_rss(tool_command(start_up_statement, "--report", "Z:" + report + ".small.html"))
    size = os.path.getsize(report)
    with headless_chromium.FolderServer(work) as server:
        render = min(headless_chromium.run(server.url(os.path.basename(report)), dump_dom=True)[1] for _ in range(2))
    return {"lines": lines, "imported_lines": imported, "tool_seconds_without_report": without,
            "tool_seconds_with_report": written, "report_seconds": report_seconds,
            "tool_processor_seconds_without_report": without_processor,
            "tool_processor_seconds_with_report": written_processor,
            "report_processor_seconds": report_processor_seconds, "report_bytes": size,
            "report_bytes_per_line": size / lines, "tool_bytes_per_line_with_report": (peak - start_up) / imported,
            "chromium_render_seconds": render}


def breaks_figures(tool_command, sort_code, account, work):
    """The report of a statement of BREAKS + 1 lines of the account, each
    writing the same balance after a debit, so that every line after the
    first breaks the running balance: the bytes of its chart and of the
    page, and Chromium's render time."""
    os.makedirs(work, exist_ok=True)
    statement = os.path.join(work, "statement-breaks.csv")
    report = os.path.join(work, "report-breaks.html")
    with open(statement, "w", newline="") as out:
        out.write("Transaction history,Orvale Online For Business\n")
        out.write(f"03/11/2026,DD,{sort_code},{account},PAYEE,1.00,,100.00\n" * (BREAKS + 1))
    run_seconds(tool_command(statement, "--report", "Z:" + report))
    with open(report, "rb") as handle:
        page = handle.read()
    svg = page[page.index(b"<svg"):page.index(b"</svg>") + len(b"</svg>")]
    with headless_chromium.FolderServer(work) as server:
        render = min(headless_chromium.run(server.url(os.path.basename(report)), dump_dom=True)[1] for _ in range(2))
    return {"breaks": BREAKS, "svg_bytes": len(svg), "report_bytes": len(page), "chromium_render_seconds": render}
