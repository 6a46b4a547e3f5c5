#!/usr/bin/env python3
"""Runs the import tool under Wine as a user would and checks its CSV output
and exit codes.

usage: check_import_tool.py WINE_RUN TOOL MODULE_DLL FIXTURES_DIR

The tool loads MODULE_DLL (a Windows path) instead of a registered module.
"""
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
    wine_run, tool, module, fixtures = sys.argv[1:5]
    failures = []

    def run(*arguments, module=module):
        return windows_program.run([wine_run, tool, *arguments, "--module", module])

    def expect(name, result, code, stdout=None, stderr_part=None):
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
    for failure in failures:
        print(failure)
    failed = len({f.split(":")[0] for f in failures})
    print("%d passed, %d failed" % (10 - failed, failed))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
