#!/usr/bin/env python3
"""Runs the import tool under Wine as a user would and checks its CSV and
JSON output, what it says on standard error and its exit codes.

usage: check_import_tool.py WINE_RUN TOOL MODULE_DLL FIXTURES_DIR SAMPLES_DIR

The tool loads MODULE_DLL (a Windows path) instead of a registered module.
"""
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import windows_program  # noqa: E402

EXPECTED_CSV = (
    "number,direction,amount,date,description,reference\n"
    "1,debit,45.2,2011-11-03,ORVALE ENERGY REF 4471,DD\n"
    "2,debit,1250,2011-11-04,CHQ 000042,000042\n"
    "3,debit,3,2011-11-05,CHQ 1234567,1234567\n"
    "4,debit,4,2011-11-06,77,chq\n"
    "5,credit,2500,2011-11-07,PAYROLL,BGC\n"
    '6,debit,12.5,2011-11-09,"SUPPLIER, LTD",FPO\n'
)


def main():
    wine_run, tool, module, fixtures, samples = sys.argv[1:6]
    failures = []
    checks = []

    def run(*arguments, module=module):
        return windows_program.run([wine_run, tool, *arguments, "--module", module])

    def expect(name, result, code, stdout=None, stderr_part=None):
        checks.append(name)
        if result.returncode != code:
            failures.append("%s: exit %d, expected %d; stderr: %s" % (name, result.returncode, code, result.stderr))
        if stdout is not None and result.stdout != stdout:
            failures.append("%s: printed\n%s\nexpected\n%s" % (name, result.stdout, stdout))
        if stderr_part is not None and stderr_part not in result.stderr:
            failures.append("%s: standard error lacks %r: %s" % (name, stderr_part, result.stderr))

    statement = fixtures + "/import_statement.csv"
    account = ["--sort-code", "12-34-56", "--account", "12345678"]
    expect("csv", run(statement, *account, "--format", "csv"), 0, EXPECTED_CSV, "Imported 6 statement lines.")
    expect("not recognised", run(fixtures + "/header_only.csv", "--format", "csv"), 3,
           "number,direction,amount,date,description,reference\n", "was not recognised")
    expect("no account", run(statement, "--format", "csv"), 0,
           "number,direction,amount,date,description,reference\n")
    expect("missing file", run(fixtures + "/no_such_statement.csv"), 2, "", "no_such_statement.csv")
    expect("unknown format", run(statement, "--format", "xml"), 2, "", "unknown format xml")
    expect("no file", windows_program.run([wine_run, tool]), 2, "", "usage:")
    expect("module cannot load", run(statement, module="Z:/no/such/module.dll"), 1, "", "cannot load")
    # What the import left out is said on standard error; --strict fails on
    # lines lost after the stop, not on blank ones.
    expect("losses", run(statement, *account), 0, None,
           "The import stopped at line 10, which is not a transaction line (1 field, not 8); "
           "1 line after it was not read.\n1 line was passed over as another account's.\n"
           "1 line was passed over without a debit or credit amount.\n")
    expect("strict, lines lost", run(statement, *account, "--strict"), 4)
    expect("strict, read to the end", run(fixtures + "/title_line_first.csv", *account, "--strict"), 0, None,
           "line 1 passed over: 1 field, not 8\n")
    # The running balance: where it breaks (the file is newest first), which
    # --explain marks and --strict fails on; the samples add up.
    breaking = fixtures + "/newest_first_balance_break.csv"
    expect("balance breaks", run(breaking, *account), 0, None,
           "Running balance breaks at line 3: 4,917.60 - 82.40 should give 4,835.20, the file says 4,735.20 "
           "(lines taken from the file's last up: it is written newest first).\n")
    expect("balance breaks, explained", run(breaking, *account, "--explain"), 0, None,
           "line 3: imported as statement line 2; the running balance breaks here: 4,917.60 - 82.40")
    expect("strict, balance breaks", run(breaking, *account, "--strict"), 4)
    expect("balance not checked past the stop", run(statement, *account), 0, None,
           "Running balance: 7 lines consistent, closing balance 3,185.30; not checked past line 10")
    sample_account = ["--sort-code", "12-34-56", "--account", "45678912"]
    for sample, lines, closing in (("date-first", 9, "5,429.85"), ("account-first", 7, "3,118.85")):
        expect("sample " + sample, run(samples + "/orvale-statement-%s.csv" % sample, *sample_account, "--strict"), 0,
               None, "Running balance: %d lines consistent, closing balance %s (lines taken oldest first" % (lines, closing))
    # JSON: the lines, each with its balance, and the check.
    result = run(breaking, *account, "--format", "json")
    expect("json", result, 0)
    try:
        document = json.loads(result.stdout)
        balances = [line["balance"] for line in document["lines"]]
        check = {key: document["balance_check"][key] for key in ("consistent", "closing_balance", "direction")}
        breaks = document["balance_check"]["breaks"]
        if balances != [4319.45, 4735.2] or check != {"consistent": False, "closing_balance": 4319.45,
                                                      "direction": "newest_first"} or [b["line"] for b in breaks] != [3]:
            failures.append("json: %r" % document)
    except (ValueError, KeyError, TypeError) as error:
        failures.append("json: %s in %r" % (error, result.stdout))
    for failure in failures:
        print(failure)
    failed = len({f.split(":")[0] for f in failures})
    print("%d passed, %d failed" % (len(checks) - failed, failed))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
