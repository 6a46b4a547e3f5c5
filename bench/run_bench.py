#!/usr/bin/env python3
"""The benchmark behind ./dev bench (run it through ./dev, which builds the
release programs first; Wine's prefix and server come from buildtools/wine.py).

Generates the statement files under build/bench/data, then measures on the
same files in one run:
  - the reader alone, in a Windows program under Wine (best of several passes),
    x64 at every size and x86 at 1 million lines;
  - the whole import through COM into the reference host's statement (lines
    and calls kept in memory; one pass) and into the lean one (a count and a
    checksum: the module's own cost; best of several passes, as the reader),
    with the peak private memory of each at 10
    thousand and 1 million lines, each size in its own process;
  - the import tool's peak memory per imported line at 1 million lines, its
    start-up (a 10-line statement) subtracted;
  - the import tool end to end, the release build as a person runs it, in
    each output format (CSV, the table, JSON) with standard output to a
    file: the best of several runs at 1 million lines less the best for the
    10-line statement (its start-up), against the import into the lean host;
  - the peers: Python's csv module splitting every line, and wc -l;
  - the native reader's instructions per line under callgrind;
  - the HTML report of the 100 thousand line statement (report_bench.py):
    the time to write it, its bytes per line, the tool's memory per line
    with --report, and the time headless Chromium takes to render it; and
    the report of a statement of 50 thousand balance breaks: its chart's
    SVG bytes and Chromium's render time.
Prints one table and writes bench/results/latest.json.
"""
import argparse
import hashlib
import json
import os
import platform
import re
import subprocess
import sys
import time

import report_bench

from buildtools import module_identity
from buildtools import wine as wine_setup
from buildtools import x86_route
from buildtools.messages import say
from buildtools.wine import windows_path

SIZES = (10_000, 100_000, 1_000_000)
START_UP_SIZE = 10  # the statement whose import measures the tool's start-up
TOOL_FORMATS = ("csv", "table", "json")
LAYOUTS = ("date-first", "account-first")
# The figures that need the x86 build run (a nested one by its dotted path).
X86_FIGURES = ("x86_reader_lines_per_s", "x86_reader_over_python_csv", "by_size.1000000.reader_x86")
SORT_CODE, ACCOUNT = "12-34-56", "45678912"

PYTHON_CSV_PEER = r"""
import csv, sys, time
best = None
for _ in range(int(sys.argv[2])):
    start = time.perf_counter()
    rows = fields = 0
    with open(sys.argv[1], newline="") as handle:
        for row in csv.reader(handle):
            rows += 1
            fields += len(row)
    seconds = time.perf_counter() - start
    best = seconds if best is None else min(best, seconds)
print(f"rows={rows}\nfields={fields}\nseconds={best:.6f}")
"""


def key_values(text):
    return {key: float(value) for key, value in re.findall(r"^(\w+)=([-0-9.]+)\s*$", text, re.M)}


def run(command, **options):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **options)
    if result.returncode != 0:
        raise SystemExit(f"bench: {' '.join(command)} failed ({result.returncode}):\n{result.stderr}")
    return result.stdout


def generate(root, data):
    generator = os.path.join(root, "bench", "generate_statements.py")
    with open(generator, "rb") as source:
        stamp = hashlib.sha256(source.read()).hexdigest()
    stamp_path = os.path.join(data, "generator.sha256")
    sizes = (START_UP_SIZE, *SIZES)
    wanted = [os.path.join(data, f"statement-{size}-{layout}.csv") for size in sizes for layout in LAYOUTS]
    if all(map(os.path.exists, wanted)) and os.path.exists(stamp_path) and open(stamp_path).read() == stamp:
        return
    say("generating statement files")
    run([sys.executable, generator, data] + [str(size) for size in sizes])
    with open(stamp_path, "w") as out:
        out.write(stamp)


def statement(data, size, layout):
    return os.path.join(data, f"statement-{size}-{layout}.csv")


def wine(program, *arguments):
    command = [*wine_setup.WINE, program, *arguments]
    figures = key_values(run(command, stdin=subprocess.DEVNULL))
    if "seconds" not in figures:
        raise SystemExit(f"bench: {' '.join(command)} printed no figures")
    return figures


def reader_figures(program, data, size, repeats):
    records = seconds = size_bytes = 0
    peak = 0
    for layout in LAYOUTS:
        path = statement(data, size, layout)
        figures = wine(program, "reader", windows_path(path), str(repeats))
        records += figures["records"]
        seconds += figures["seconds"]
        size_bytes += os.path.getsize(path)
        peak = max(peak, figures.get("peak_private_bytes", 0))
    lines = records + len(LAYOUTS)  # every line of the files: the records and the headers
    return {"lines": lines, "records": records, "seconds": seconds, "bytes": size_bytes,
            "lines_per_s": lines / seconds, "mb_per_s": size_bytes / 1e6 / seconds, "peak_private_bytes": peak}


def import_figures(program, module, data, size, host, repeats):
    lines = seconds = statement_lines = 0
    peak = 0
    for layout in LAYOUTS:
        path = statement(data, size, layout)
        figures = wine(program, "import", windows_path(module), windows_path(path), SORT_CODE, ACCOUNT, host,
                       str(repeats))
        with open(path, "rb") as handle:
            lines += sum(1 for _ in handle)
        seconds += figures["seconds"]
        statement_lines += figures["statement_lines"]
        peak = max(peak, figures.get("peak_private_bytes", 0))
    return {"lines": lines, "statement_lines": statement_lines, "seconds": seconds,
            "lines_per_s": lines / seconds, "peak_private_bytes": peak}


def peak_rss(command):
    """Runs a command (stdout discarded) and gives its peak resident memory in
    bytes, as the kernel counted it for the process (Wine runs a Windows
    program in the process it starts)."""
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if process.returncode != 0:
        raise SystemExit(f"bench: {' '.join(command)} failed ({process.returncode}):\n{errors}")
    imported = re.search(r"^Imported (\d+) statement line", errors, re.M)
    return usage.ru_maxrss * 1024, int(imported.group(1)) if imported else 0


def tool_figures(tool_command, data, size):
    """The import tool's peak memory per imported line: its peak at SIZE lines
    less its peak for a 10-line statement, over the lines imported at SIZE."""
    def measure(lines):
        return peak_rss(tool_command(statement(data, lines, LAYOUTS[0])))
    start_up, _ = measure(START_UP_SIZE)
    peak, imported = measure(size)
    return {"imported_lines": imported, "peak_rss_bytes": peak, "start_up_peak_rss_bytes": start_up,
            "bytes_per_line": (peak - start_up) / imported}


def best_run_seconds(command, output, repeats):
    """The least wall-clock seconds of REPEATS runs of COMMAND, standard output
    to the file OUTPUT."""
    best = None
    for _ in range(repeats):
        with open(output, "wb") as out:
            start = time.perf_counter()
            result = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.PIPE)
            seconds = time.perf_counter() - start
        if result.returncode != 0:
            raise SystemExit(f"bench: {' '.join(command)} failed ({result.returncode}):\n"
                             f"{result.stderr.decode(errors='replace')}")
        best = seconds if best is None else min(best, seconds)
    return best


def tool_speed_figures(tool_command, data, work, size, repeats):
    """The import tool end to end in each output format, standard output to a
    file: its best time at SIZE lines less its best for a 10-line statement
    (its start-up), and the lines of the file a second."""
    os.makedirs(work, exist_ok=True)
    path, start_up_path = statement(data, size, LAYOUTS[0]), statement(data, START_UP_SIZE, LAYOUTS[0])
    with open(path, "rb") as handle:
        lines = sum(1 for _ in handle)
    figures = {}
    for form in TOOL_FORMATS:
        output = os.path.join(work, f"tool-output.{form}")
        start_up = best_run_seconds(tool_command(start_up_path, "--format", form), output, repeats)
        whole = best_run_seconds(tool_command(path, "--format", form), output, repeats)
        figures[form] = {"lines": lines, "seconds": whole - start_up, "start_up_seconds": start_up,
                         "lines_per_s": lines / (whole - start_up)}
    return figures


def python_csv_figures(data, size, repeats):
    lines = seconds = size_bytes = 0
    for layout in LAYOUTS:
        path = statement(data, size, layout)
        figures = key_values(run([sys.executable, "-c", PYTHON_CSV_PEER, path, str(repeats)]))
        lines += figures["rows"]
        seconds += figures["seconds"]
        size_bytes += os.path.getsize(path)
    return {"lines": lines, "seconds": seconds, "lines_per_s": lines / seconds, "mb_per_s": size_bytes / 1e6 / seconds}


def wc_figures(data, size, repeats):
    lines = seconds = 0
    for layout in LAYOUTS:
        path = statement(data, size, layout)
        best = None
        for _ in range(repeats):
            start = time.perf_counter()
            count = int(run(["wc", "-l", path]).split()[0])
            elapsed = time.perf_counter() - start
            best = elapsed if best is None else min(best, elapsed)
        lines += count
        seconds += best
    return {"lines": lines, "seconds": seconds, "lines_per_s": lines / seconds}


def native_instructions_per_line(root, build, data):
    """Instructions of the native reader per line: the callgrind totals of the
    100 thousand and the 10 thousand line files, differenced, so that start-up
    and the file opening cancel out."""
    native = os.path.join(build, "bench", "native")
    os.makedirs(native, exist_ok=True)
    statement_dir = os.path.join(root, "statement")
    platform_source = os.path.join(statement_dir, "PlatformNative.cpp")
    with open(os.path.join(statement_dir, "sources.txt"), encoding="utf-8") as listed:
        sources = [line.strip() for line in listed if line.strip() and not line.startswith("#")]
    program = os.path.join(native, "native-reader-bench")
    compiler = "g++"
    run([compiler, "-std=c++17", "-O2", "-I", statement_dir, "-I", os.path.join(root, "base"),
         *[os.path.join(statement_dir, source) for source in sources],
         platform_source, os.path.join(root, "bench", "NativeReaderBench.cpp"), "-o", program])

    def instructions(path):
        out = os.path.join(native, "callgrind.out")
        result = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}", program, path],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if result.returncode != 0:
            raise SystemExit(f"bench: callgrind failed:\n{result.stderr}")
        found = re.search(r"Collected\s*:\s*(\d+)", result.stderr)
        return int(found.group(1))

    total_instructions = total_lines = 0
    for layout in LAYOUTS:
        small, large = statement(data, 10_000, layout), statement(data, 100_000, layout)
        total_instructions += instructions(large) - instructions(small)
        total_lines += 100_000 - 10_000
    return {"instructions_per_line": total_instructions / total_lines,
            "platform_source": os.path.relpath(platform_source, root), "compiler": f"{compiler} -O2"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--output", default=None)
    options = parser.parse_args()
    root, build = options.root, options.build
    data = os.path.join(build, "bench", "data")
    output = options.output or os.path.join(root, "bench", "results", "latest.json")
    program, program_x86 = (os.path.join(build, f"release-{arch}", "bench", "pendrel-bench.exe") for arch in ("x64", "x86"))
    module = module_identity.dll(os.path.join(build, "release-x64"))
    tool = os.path.join(build, "release-x64", "tools", "pendrel-import.exe")

    generate(root, data)
    route = x86_route.decide()
    os.environ.update(wine_setup.start("x86" if route.runs_x86 else "x64"))
    say("reader under Wine")
    reader = {size: reader_figures(program, data, size, 3 if size < 1_000_000 else 2) for size in SIZES}
    if route.runs_x86:
        say("reader under Wine, x86")
        reader_x86 = reader_figures(program_x86, data, 1_000_000, 2)
    else:
        say("reader under Wine, x86: not measured, as %s" % route.reason)
        reader_x86 = None
    say("import through COM under Wine, into the reference host and into the lean one")
    imports = {size: import_figures(program, module, data, size, "reference", 1) for size in (10_000, 1_000_000)}
    imports_lean = {size: import_figures(program, module, data, size, "lean", 3 if size < 1_000_000 else 2)
                    for size in (10_000, 1_000_000)}

    def tool_command(path, *options):
        return [*wine_setup.WINE, tool, "--module", windows_path(module), windows_path(path),
                "--sort-code", SORT_CODE, "--account", ACCOUNT, *options]

    say("the import tool's memory")
    tool_memory = tool_figures(tool_command, data, 1_000_000)
    say("the import tool end to end, in each output format")
    tool_speed = tool_speed_figures(tool_command, data, os.path.join(build, "bench", "tool"), 1_000_000, 3)
    say("peers: Python csv, wc -l")
    python_csv = {size: python_csv_figures(data, size, 3 if size < 1_000_000 else 2) for size in SIZES}
    wc = {size: wc_figures(data, size, 3) for size in SIZES}
    say("native reader under callgrind")
    native = native_instructions_per_line(root, build, data)
    say("the HTML report: written by the tool, rendered by headless Chromium")
    report = report_bench.report_figures(
        tool_command, peak_rss, statement(data, report_bench.REPORT_SIZE, LAYOUTS[0]), statement(data, START_UP_SIZE, LAYOUTS[0]),
        os.path.join(build, "bench", "report"))
    report_breaks = report_bench.breaks_figures(tool_command, SORT_CODE, ACCOUNT, os.path.join(build, "bench", "report"))

    big = 1_000_000
    results = {
        "reader_lines_per_s": reader[big]["lines_per_s"],
        "reader_mb_per_s": reader[big]["mb_per_s"],
        "import_lines_per_s": imports[big]["lines_per_s"],
        "python_csv_lines_per_s": python_csv[big]["lines_per_s"],
        "wc_lines_per_s": wc[big]["lines_per_s"],
        "reader_over_python_csv": reader[big]["lines_per_s"] / python_csv[big]["lines_per_s"],
        "x86_reader_lines_per_s": reader_x86 and reader_x86["lines_per_s"],
        "x86_reader_over_python_csv": reader_x86 and reader_x86["lines_per_s"] / python_csv[big]["lines_per_s"],
        "import_over_reader": imports[big]["lines_per_s"] / reader[big]["lines_per_s"],
        "import_lean_lines_per_s": imports_lean[big]["lines_per_s"],
        "import_lean_over_reader": imports_lean[big]["lines_per_s"] / reader[big]["lines_per_s"],
        "reader_over_wc": reader[big]["lines_per_s"] / wc[big]["lines_per_s"],
        "import_peak_private_bytes_10k": imports[10_000]["peak_private_bytes"],
        "import_peak_private_bytes_1m": imports[big]["peak_private_bytes"],
        "memory_1m_over_10k": imports[big]["peak_private_bytes"] / imports[10_000]["peak_private_bytes"],
        "import_lean_peak_private_bytes_10k": imports_lean[10_000]["peak_private_bytes"],
        "import_lean_peak_private_bytes_1m": imports_lean[big]["peak_private_bytes"],
        "memory_lean_1m_over_10k": imports_lean[big]["peak_private_bytes"] / imports_lean[10_000]["peak_private_bytes"],
        "tool_bytes_per_line": tool_memory["bytes_per_line"],
        "tool_csv_lines_per_s": tool_speed["csv"]["lines_per_s"],
        "tool_over_import_lean": tool_speed["csv"]["lines_per_s"] / imports_lean[big]["lines_per_s"],
        "tool_table_over_csv": tool_speed["table"]["seconds"] / tool_speed["csv"]["seconds"],
        "tool_json_over_csv": tool_speed["json"]["seconds"] / tool_speed["csv"]["seconds"],
        "reader_peak_private_bytes_1m": reader[big]["peak_private_bytes"],
        "native_instructions_per_line": native["instructions_per_line"],
        "report_seconds_100k": report["report_seconds"],
        "report_processor_seconds_100k": report["report_processor_seconds"],
        "report_bytes_per_line": report["report_bytes_per_line"],
        "report_chromium_render_seconds_100k": report["chromium_render_seconds"],
        "report": report,
        "report_breaks_svg_bytes": report_breaks["svg_bytes"],
        "report_breaks_chromium_render_seconds": report_breaks["chromium_render_seconds"],
        "report_breaks": report_breaks,
        "measured_at": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime()),
        "machine": {"cpus": os.cpu_count(), "python": platform.python_version(),
                    "wine": run(["wine", "--version"]).strip()},
        "headline_size_lines": big,
        "by_size": {
            str(size): {"reader": reader[size], "python_csv": python_csv[size], "wc": wc[size],
                        **({"import": imports[size], "import_lean": imports_lean[size]} if size in imports else {}),
                        **({"reader_x86": reader_x86, "tool": {**tool_memory, "formats": tool_speed}}
                           if size == big else {})}
            for size in SIZES},
        "native": native,
    }
    results["unmeasured"] = {key: route.reason for key in X86_FIGURES} if reader_x86 is None else {}
    os.makedirs(os.path.dirname(output), exist_ok=True)
    with open(output, "w") as out:
        json.dump(results, out, indent=2)
        out.write("\n")
    print_table(results, reader, reader_x86, imports, imports_lean, python_csv, wc)
    say(f"wrote {os.path.relpath(output, root)}")


def print_table(results, reader, reader_x86, imports, imports_lean, python_csv, wc):
    rows = [("Figure", "10k lines", "100k lines", "1M lines")]

    def row(name, figures, key, scale=1.0, digits=0):
        cells = [f"{figures[size][key] / scale:,.{digits}f}" if size in figures else "-" for size in SIZES]
        rows.append((name, *cells))

    row("reader (Wine), lines/s", reader, "lines_per_s")
    row("reader (Wine), MB/s", reader, "mb_per_s", digits=1)
    row("reader x86 (Wine), lines/s", {SIZES[-1]: reader_x86} if reader_x86 else {}, "lines_per_s")
    row("import through COM, lines/s", imports, "lines_per_s")
    row("import peak private memory, MB", imports, "peak_private_bytes", scale=1e6, digits=1)
    row("import into lean host, lines/s", imports_lean, "lines_per_s")
    row("lean import peak private memory, MB", imports_lean, "peak_private_bytes", scale=1e6, digits=1)
    row("reader peak private memory, MB", reader, "peak_private_bytes", scale=1e6, digits=1)
    row("Python csv, lines/s", python_csv, "lines_per_s")
    row("wc -l, lines/s", wc, "lines_per_s")
    widths = [max(len(r[i]) for r in rows) for i in range(4)]
    for index, cells in enumerate(rows):
        print("  ".join(cell.ljust(widths[0]) if i == 0 else cell.rjust(widths[i]) for i, cell in enumerate(cells)))
        if index == 0:
            print("  ".join("-" * width for width in widths))
    print()
    print("Ratios (1M lines)                   measured   goal")
    print(f"  reader / Python csv              {results['reader_over_python_csv']:8.2f}   >= 2 (aim 3)")
    if results["x86_reader_over_python_csv"] is None:
        print(f"  x86 reader / Python csv          not measured: {results['unmeasured']['x86_reader_over_python_csv']}")
    else:
        print(f"  x86 reader / Python csv          {results['x86_reader_over_python_csv']:8.2f}   >= 2 (aim 3)")
    print(f"  import (reference host) / reader {results['import_over_reader']:8.2f}")
    print(f"  import (lean host) / reader      {results['import_lean_over_reader']:8.2f}   >= 0.5 (aim 0.7)")
    print(f"  import memory 1M / 10k           {results['memory_1m_over_10k']:8.2f}   (reference host keeps every line)")
    print(f"  lean import memory 1M / 10k      {results['memory_lean_1m_over_10k']:8.2f}   <= 1.1 (aim 1.0)")
    print(f"  import tool, bytes per line      {results['tool_bytes_per_line']:8.0f}   <= 140")
    print(f"  import tool (CSV), lines/s      {results['tool_csv_lines_per_s']:9,.0f}   >= 500,000 (start-up less)")
    print(f"  import tool (CSV) / lean import  {results['tool_over_import_lean']:8.2f}   >= 0.2")
    print(f"  import tool, table / CSV time    {results['tool_table_over_csv']:8.2f}   <= 1.5")
    print(f"  import tool, JSON / CSV time     {results['tool_json_over_csv']:8.2f}   <= 1.5")
    print(f"  reader / wc -l                   {results['reader_over_wc']:8.3f}")
    print(f"  native instructions per line     {results['native_instructions_per_line']:8.0f}   <= 2,000 (aim 1,000; callgrind, {results['native']['compiler']})")
    report = results["report"]
    print()
    print("HTML report (100k lines)             measured   goal")
    print(f"  written by the tool, s           {report['report_seconds']:8.2f}   < 2 (wall clock, with less without)")
    print(f"  written by the tool, CPU s       {report['report_processor_seconds']:8.2f}   < 2 (the tool's process)")
    print(f"  HTML bytes per line              {report['report_bytes_per_line']:8.0f}   <= 400")
    print(f"  rendered by Chromium, s          {report['chromium_render_seconds']:8.2f}   < 15 (--dump-dom, start-up included)")
    print(f"  tool, bytes per line (--report)  {report['tool_bytes_per_line_with_report']:8.0f}   (without --report: above)")
    breaks = results["report_breaks"]
    print()
    print(f"HTML report ({breaks['breaks']:,} breaks)       measured   goal")
    print(f"  chart's SVG, bytes               {breaks['svg_bytes']:8,}   < 2,000,000")
    print(f"  page, bytes                      {breaks['report_bytes']:8,}")
    print(f"  rendered by Chromium, s          {breaks['chromium_render_seconds']:8.2f}   < 10 (--dump-dom, start-up included)")


if __name__ == "__main__":
    main()
