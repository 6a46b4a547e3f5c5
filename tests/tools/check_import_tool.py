#!/usr/bin/env python3
"""Runs the import tool under Wine as a user would and checks its CSV and
JSON output, what it says on standard error and its exit codes.

usage: python3 -m tests.tools.check_import_tool WINE_RUN TOOL MODULE_DLL FIXTURES_DIR SAMPLES_DIR

The tool loads MODULE_DLL (a Windows path) instead of a registered module.
"""
import json
import os
import shutil
import sys
import tempfile

from buildtools import wine

HEADER = b"Transaction history,Orvale Online For Business\r\n"
BYTE_ORDER_MARK = b"\xef\xbb\xbf"
REPLACED = (" imported with a character replaced (bytes that do not read in the file's encoding, or a character cut "
            "where the record keeps only the first 3 bytes of the type code): ")


def line(description=b"PAYEE", debit=b"1.00", credit=b"", balance=b"", date=b"03/11/2011", sort_code=b"12-34-56",
         account=b"12345678", end=b"\r\n", type_code=b"DD"):
    """One date-first transaction line of the tool's test account, as bytes."""
    return b",".join([date, type_code, sort_code, account, description, debit, credit, balance]) + end


# Statements for what the tool says of each kind of loss: name, bytes,
# options, exit status, texts standard error holds, texts it must not hold.
# Every run is --strict unless it says otherwise.
LOSS_CASES = (
    ("lines without a date", HEADER + line() + line(date=b"32/11/2011") * 7, [], 4,
     ["7 lines were imported without a date (the date does not read as one): lines 3, 4, 5, 6, 7 and 2 more."], []),
    ("last line cut inside", HEADER + line() + line()[:30], [], 4,
     ["The import stopped at line 3, which is not a transaction line (4 fields, not 8); 0 lines after it were not read."],
     []),
    ("end-of-file mark alone at the end", HEADER + line() + b"\x1a", [], 0, [], ["stopped"]),
    ("end-of-file mark before a line", HEADER + line() + b"\x1a\n" + line(account=b"87654321"), [], 4,
     ["The import stopped at line 3"], []),
    ("empty rows at the end", HEADER + line() + b",,,,,\r\n,,,,,,,\r\n\r\n", [], 0, [], ["stopped"]),
    ("empty rows are not another account's", HEADER + line() + b",,,,,,,\r\n" + b'"",,,, ,,,\r\n' + line(), [], 0,
     ["2 empty rows were passed over (every field empty)."], ["another account"]),
    ("empty amounts written as a dash",
     HEADER + line(b"BROUGHT FORWARD", b" - ", b" - ", b"100.00") + line(debit=b"10.00", credit=b"-", balance=b"90.00")
     + line(debit=b"-", credit=b"5.00", balance=b"95.00"), [], 0,
     ["Running balance: 3 lines consistent, closing balance 95.00"], []),
    ("amounts that do not read", HEADER + line() + line(debit=b"\xa382.40") + line(debit=b"", credit=b"EUR 82.40"), [], 4,
     ['2 lines were passed over with a debit or credit that does not read as an amount: line 3, debit (field 6) '
      '"\u00a382.40"; line 4, credit (field 7) "EUR 82.40".'], []),
    ("sort code rewritten by a spreadsheet", HEADER + line(sort_code=b"12/34/56") * 2 + line(sort_code=b"23456"), [], 4,
     ['No line matched the host\'s account (sort code "123456" and account "12345678"); the file has sort code '
      '"12/34/56" with account "12345678", sort code "23456" with account "12345678".'], []),
    ("sort code rewritten, explained", HEADER + line(sort_code=b"12/34/56"), ["--explain"], 4,
     ['line 2: passed over: another account (sort code "12/34/56" (the record kept only "12/34/") and account '
      '"12345678"'], []),
    ("end-of-file byte inside the first line", b"03/11/2011,DD,12-34-56,12345678,PAYEE,1.00,,\x1a,9,9\r\n", [], 3,
     ["The file was not recognised as a statement of this bank.",
      "The module's file test, which reads the file in text mode, recognised it, but the import, which reads it in "
      "binary mode, did not (the file was not recognised: neither of its first two lines has 8 fields)"], []),
    ("end-of-file byte inside the first line's description", line(b"PAY\x1aEE"), [], 0,
     ["The file was recognised as a statement of this bank.",
      "The module's file test, which reads the file in text mode, did not recognise it, but the import, which reads "
      "it in binary mode, did (the file was recognised, layout 1"], []),
    ("control characters", HEADER + line(b"\x1b[2JAll lines imported OK\x07") + line(sort_code=b"12\x1b[1A34"),
     ["--explain"], 0, ["\\x1B[1A"], ["\x1b", "\x07"]),
    ("characters that reorder text", BYTE_ORDER_MARK + HEADER + line() + line(debit=b"\xe2\x80\xae04.28") + line(sort_code=b"12-34-56\xe2\x81\xa6"), ["--explain"], 4,
     ["\\u202E04.28", "12-34-56\\u2066"], ["\u202e", "\u2066"]),
    ("a byte that is not UTF-8 after the byte-order mark", BYTE_ORDER_MARK + HEADER + line(b"CAF\xa3"), [], 4,
     ["1 line was" + REPLACED + "line 2 (description)."], []),
    ("a type code cut inside an emoji", BYTE_ORDER_MARK + HEADER + line() + line(type_code=b"\xf0\x9f\x98\x80"),
     ["--explain"], 4,
     ["line 3: imported as statement line 2; a character of its reference was replaced: the record keeps only the "
      "type code's first 3 bytes, which cut a character in two", "1 line was" + REPLACED + "line 3 (reference)."], []),
    ("UTF-8 lines read in the ANSI code page", HEADER + line(b"CAF\xc3\x89") + line(b"\xa35"), [], 4,
     ["The file was read in the ANSI code page (1252 here), as not all of its bytes are UTF-8, but 1 line looks like "
      "UTF-8, and its texts were read in that code page, not as UTF-8: line 2."], []),
    ("a header saved with its fields quoted",
     b'"Transaction history","Orvale Online For Business","Business Current Account"\r\n' + line(), [], 0, [],
     ["passed over"]),
)

# Descriptions and type codes (the reference column) that a spreadsheet
# would take for a formula or that reorder text, with the CSV cells of the
# statement line's description and reference.
FORMULA_VARIANTS = (
    (b"ACME \xe2\x80\xae", b"DD", "ACME \\u202E,DD"),
    (b" =1", b"DD", "' =1,DD"),
    (b"\xc2\xa0+1", b"DD", "'\u00a0+1,DD"),
    (b"\x0b@A1", b"DD", "\"'\x0b@A1\",DD"),
    (b"|cmd", b"DD", "'|cmd,DD"),
    (b"\xef\xbc\x9d" b"1", b"DD", "'\uff1d1,DD"),
    (b"  \t-X", b"DD", "'  \t-X,DD"),
    (b"A\x0bB", b"DD", "\"A\x0bB\",DD"),
    (b"PAYEE", b"=1", "PAYEE,'=1"),
    (b"PAYEE", b" +1", "PAYEE,' +1"),
    (b"PAYEE", b"\xef\xbc\xa0", "PAYEE,'\uff20"),
)

# A debit or credit written otherwise than the bank writes amounts, in a
# statement without balances (nothing else would notice): name, debit and
# credit fields, the amount the host gets (None: the line is not imported),
# and what standard error says of it. The line is line 3.
AMOUNT_CASES = (
    ("decimal comma", b'"82,40"', b"", None, 'line 3, debit (field 6) "82,40"'),
    ("decimal comma after a full stop", b'"1.250,00"', b"", None, 'line 3, debit (field 6) "1.250,00"'),
    ("credit mark", b"50.00 CR", b"", None, 'line 3, debit (field 6) "50.00 CR"'),
    ("both a debit and a credit", b"82.40", b"10.00", None,
     '1 line was passed over with both a debit and a credit amount: line 3, debit (field 6) "82.40" and credit '
     '(field 7) "10.00".'),
    ("exponent", b"1e308", b"", None, 'line 3, debit (field 6) "1e308"'),
    ("exponent, signed", b"", b"1.23E+03", None, 'line 3, credit (field 7) "1.23E+03"'),
    ("32 digits", b"12345678901234567890123456789012", b"", None,
     'line 3, debit (field 6) "12345678901234567890123456789012"'),
    ("infinity", b"inf", b"", None, 'line 3, debit (field 6) "inf"'),
    ("no-break space", b"1\xa0250.00", b"", 1250, None),
    ("thousands separator", b'"1,234.56"', b"", 1234.56, None),
    ("minus sign", b"-12.50", b"", 12.5, None),
    ("space inside", b"12 50.00", b"", 1250, None),
    ("a zero beside", b"82.40", b"0.00", 82.4, None),
    ("empty debit", b"", b"3.00", 3, None),
)

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
        return wine.capture([wine_run, tool, *arguments, "--module", module])

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
    expect("missing file", run(fixtures + "/no_such_statement.csv"), 2, "",
           'import: cannot read the statement file "%s/no_such_statement.csv": no such file\n' % fixtures)
    expect("unknown format", run(statement, "--format", "xml"), 2, "", "unknown format xml")
    expect("no file", wine.capture([wine_run, tool]), 2, "", "usage:")
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
    # Each kind of loss, in a statement of its own.
    scratch = tempfile.mkdtemp(prefix="pendrel_tool_")
    try:
        for name, statement_bytes, options, code, said, unsaid in LOSS_CASES:
            path = os.path.join(scratch, name.replace(" ", "_") + ".csv")
            with open(path, "wb") as file:
                file.write(statement_bytes)
            result = run("Z:" + path, *account, "--strict", *options)
            expect(name, result, code)
            for part in said:
                expect(name, result, code, None, part)
            for part in unsaid:
                if part in result.stderr:
                    failures.append("%s: standard error holds %r: %s" % (name, part, result.stderr))
        check_amounts(scratch, run, account, expect, failures)
        check_unicode_folder(scratch, run, account, statement, expect)
        check_printable_output(scratch, run, account, expect, failures)
        check_json_texts(scratch, run, account, expect, failures)
        check_report_file(scratch, run, account, expect, failures)
    finally:
        shutil.rmtree(scratch)
    for failure in failures:
        print(failure)
    failed = len({f.split(":")[0] for f in failures})
    print("%d passed, %d failed" % (len(checks) - failed, failed))
    return 1 if failures else 0


def check_amounts(scratch, run, account, expect, failures):
    """Only amounts as the bank writes them reach the host: any other debit
    or credit keeps its line out, and the line is named with the field and
    its text on standard error, in --explain and in the JSON facts, and
    --strict exits 4. A UTF-8 file's no-break space is a space too."""
    for name, debit, credit, amount, said in AMOUNT_CASES:
        path = os.path.join(scratch, name.replace(" ", "_") + ".csv")
        with open(path, "wb") as file:
            file.write(HEADER + line(b"FIRST") + line(b"PAYEE", debit, credit))
        result = run("Z:" + path, *account, "--strict", "--format", "json")
        expect("amount: " + name, result, 0 if amount else 4, None, said)
        try:
            document = json.loads(result.stdout)
            amounts = [line["amount"] for line in document["lines"]]
            refused = document["unreadable_amounts"]["fields"] + document["two_amounts"]["fields"]
            if amounts != [1] + ([amount] if amount else []) or bool(refused) == bool(amount) or any(
                    field["line"] != 3 or field["text"].encode("latin-1") not in (debit.strip(b'"'), credit.strip(b'"')) for field in refused):
                failures.append("amount: %s: %r" % (name, document))
        except (ValueError, KeyError, TypeError, UnicodeEncodeError) as error:
            failures.append("amount: %s: %s in %r" % (name, error, result.stdout))
        if said:
            explained = run("Z:" + path, *account, "--explain")
            field = said.split(", ")[1] if said.startswith("line 3") else said.split(": line 3, ")[1][:-1]
            expect("amount, explained: " + name, explained, 0, None, "line 3: passed over: ")
            if field.replace(" and credit", " and the credit") not in explained.stderr:
                failures.append("amount, explained: %s: %r lacks %r" % (name, explained.stderr, field))
    path = os.path.join(scratch, "utf8_no_break_space.csv")
    with open(path, "wb") as file:
        file.write(b"\xef\xbb\xbf" + HEADER + line(b"CAF\xc3\x89", b'"1\xc2\xa0250.00"'))
    expect("amount: UTF-8 no-break space", run("Z:" + path, *account, "--strict", "--format", "csv"), 0,
           "number,direction,amount,date,description,reference\n1,debit,1250,2011-11-03,CAF\u00c9,DD\n")


def check_unicode_folder(scratch, run, account, statement, expect):
    """A statement in a folder whose name the ANSI code page (1252 here)
    cannot spell imports, opened by its Unicode path."""
    folder = os.path.join(scratch, "\u0412\u044b\u043f\u0438\u0441\u043a\u0438")
    os.mkdir(folder)
    shutil.copy(statement[2:], os.path.join(folder, "statement.csv"))
    expect("folder the code page cannot spell", run("Z:" + folder + "/statement.csv", *account, "--format", "csv"),
           0, EXPECTED_CSV, "Imported 6 statement lines.")


def check_report_file(scratch, run, account, expect, failures):
    """--report writes the file; a report that cannot be written is one line
    on standard error after the import's own output, and exit 2; a report is
    never written over the statement."""
    path = os.path.join(scratch, "report_statement.csv")
    with open(path, "wb") as file:
        file.write(HEADER + line())
    report = os.path.join(scratch, "report.html")
    expect("report written", run("Z:" + path, *account, "--report", "Z:" + report), 0)
    if not os.path.exists(report) or b"<!DOCTYPE html>" not in open(report, "rb").read(100):
        failures.append("report written: no report in %s" % report)
    for name, target, reason in (("report in no folder", "Z:/no/such/folder/report.html", "No such file or directory"),
                                 ("report over the statement", "Z:" + path, "it is the statement file")):
        result = run("Z:" + path, *account, "--report", target)
        expect(name, result, 2, None, "Imported 1 statement line.")
        said = "import: cannot write the report %s: %s" % (target, reason)
        if result.stderr.splitlines()[-1:] != [said] or "PAYEE" not in result.stdout:
            failures.append("%s: not one last line %r after the import's output: %r" % (name, said, result.stderr))
    if open(path, "rb").read() != HEADER + line():
        failures.append("report over the statement: the statement file changed")


def check_json_texts(scratch, run, account, expect, failures):
    """JSON carries the lines with a character replaced, with the texts it
    was replaced in, and the lines that look like UTF-8 in a file read in
    the ANSI code page; --strict fails on each."""
    no_lines = {"count": 0, "lines": []}
    cases = (("json, characters replaced", BYTE_ORDER_MARK + HEADER + line(b"CAF\xa3") + line(type_code=b"\xf0\x9f\x98\x80"),
              {"count": 2, "lines": [2, 3], "texts": ["description", "reference"]}, no_lines),
             ("json, UTF-8 lines read in the ANSI code page", HEADER + line(b"CAF\xc3\x89") + line(b"\xa35"),
              dict(no_lines, texts=[]), {"count": 1, "lines": [2]}))
    for name, statement, replaced, utf8_lines in cases:
        path = os.path.join(scratch, "json_texts.csv")
        with open(path, "wb") as file:
            file.write(statement)
        result = run("Z:" + path, *account, "--format", "json", "--strict")
        expect(name, result, 4)
        try:
            document = json.loads(result.stdout)
            facts = [document[key] for key in ("replaced_characters", "utf8_lines_read_in_ansi", "strict_fails")]
            if facts != [replaced, utf8_lines, True]:
                failures.append("%s: %r" % (name, facts))
        except (ValueError, KeyError) as error:
            failures.append("%s: %s in %r" % (name, error, result.stdout))


def check_printable_output(scratch, run, account, expect, failures):
    """The table shows control characters and characters that reorder text
    escaped, JSON keeps them exact (escaped as JSON), CSV keeps texts exact
    but for the characters that reorder text, and keeps spreadsheets from
    taking any variant of a formula for one; JSON carries what the warnings
    say."""
    path = os.path.join(scratch, "texts.csv")
    with open(path, "wb") as file:
        file.write(b"\xef\xbb\xbf" + HEADER + line(b"\x1b]0;OK\x07 A\xc2\x9bB") + line(b"=HYPERLINK(\"x\")")
                   + line(b"+1") + line(b"-2") + line(b"@SUM(A1)") + line(b"\tTAB", b"-3.00") + b",,,,,,,\r\n"
                   + line(date=b"00/00/00") + b"".join(line(text, type_code=code) for text, code, _ in FORMULA_VARIANTS))
    table = run("Z:" + path, *account)
    expect("table", table, 0, None, "imported without a date")
    if "\\x1B]0;OK\\x07 A\\u009BB" not in table.stdout or "\x1b" in table.stdout or "\x9b" in table.stdout:
        failures.append("table: control characters not escaped: %r" % table.stdout)
    if "ACME \\u202E" not in table.stdout or "\u202e" in table.stdout:
        failures.append("table: characters that reorder text not escaped: %r" % table.stdout)
    csv = run("Z:" + path, *account, "--format", "csv")
    expect("csv", csv, 0)
    rows = csv.stdout.split("\n")
    wanted = ['2,debit,1,2011-11-03,"\'=HYPERLINK(""x"")",DD', "3,debit,1,2011-11-03,'+1,DD",
              "4,debit,1,2011-11-03,'-2,DD", "5,debit,1,2011-11-03,'@SUM(A1),DD", "6,debit,3,2011-11-03,'\tTAB,DD"]
    variants = ["%d,debit,1,2011-11-03,%s" % (8 + index, cells) for index, (_, _, cells) in enumerate(FORMULA_VARIANTS)]
    if rows[2:7] != wanted or "\x1b]0;OK\x07 A\u009bB" not in rows[1] or rows[8:8 + len(variants)] != variants:
        failures.append("csv: %r" % csv.stdout)
    result = run("Z:" + path, *account, "--format", "json")
    expect("json facts", result, 0)
    try:
        document = json.loads(result.stdout)
        facts = {key: document[key] for key in ("recognised", "recognizer_agrees", "file_changed", "empty_rows",
                                                 "lines_without_date", "strict_fails")}
        expected = {"recognised": True, "recognizer_agrees": True, "file_changed": False,
                    "empty_rows": {"count": 1, "lines": [8]}, "lines_without_date": {"count": 1, "lines": [9]},
                    "strict_fails": True}
        if facts != expected or document["lines"][0]["description"] != "\x1b]0;OK\x07 A\x9bB" \
                or document["lines"][7]["description"] != "ACME \u202e":
            failures.append("json facts: %r" % document)
    except (ValueError, KeyError, TypeError, IndexError) as error:
        failures.append("json facts: %s in %r" % (error, result.stdout))


if __name__ == "__main__":
    sys.exit(main())
