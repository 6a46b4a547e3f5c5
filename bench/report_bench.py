"""The HTML report's figures for ./dev bench (run_bench.py calls it): on
the 100 thousand line statement, the time the import tool takes to write
the report (its run with --report less its run without, best of three
each), the report's bytes per line of the file, its memory per line with
--report, and the time headless Chromium takes to render it (--dump-dom,
best of two, the browser's own start-up included).
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
import headless_chromium  # noqa: E402

REPORT_SIZE = 100_000


def best_seconds(command, repeats):
    best = None
    for _ in range(repeats):
        start = time.perf_counter()
        result = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        seconds = time.perf_counter() - start
        if result.returncode != 0:
            raise SystemExit(f"bench: {' '.join(command)} failed ({result.returncode}):\n{result.stderr.decode()}")
        best = seconds if best is None else min(best, seconds)
    return best


def report_figures(tool_command, peak_rss, statement, start_up_statement, work):
    """TOOL_COMMAND(path, *options) gives the tool's command line for a
    statement; PEAK_RSS(command) its peak memory and the lines it imported."""
    os.makedirs(work, exist_ok=True)
    report = os.path.join(work, "report-100k.html")
    with open(statement, "rb") as handle:
        lines = sum(1 for _ in handle)
    with_report = tool_command(statement, "--report", "Z:" + report)
    without = best_seconds(tool_command(statement), 3)
    written = best_seconds(with_report, 3)
    peak, imported = peak_rss(with_report)
    start_up, _ = peak_rss(tool_command(start_up_statement, "--report", "Z:" + report + ".small.html"))
    size = os.path.getsize(report)
    with headless_chromium.FolderServer(work) as server:
        render = min(headless_chromium.run(server.url(os.path.basename(report)), dump_dom=True)[1] for _ in range(2))
    return {"lines": lines, "imported_lines": imported, "tool_seconds_without_report": without,
            "tool_seconds_with_report": written, "report_seconds": written - without, "report_bytes": size,
            "report_bytes_per_line": size / lines, "tool_bytes_per_line_with_report": (peak - start_up) / imported,
            "chromium_render_seconds": render}
