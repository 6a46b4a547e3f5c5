#!/usr/bin/env python3
"""Renders the import tool's HTML reports in a real browser and checks what
a person would see.

usage: python3 -m tests.tools.check_report_in_browser WINE_RUN TOOL MODULE_DLL SAMPLES_DIR OUT_DIR

The tool (under Wine, loading MODULE_DLL) writes the report of each sample,
of a hostile statement and of a statement of 50,000 balance breaks into
OUT_DIR, which is served on the loopback address to Debian's Chromium,
headless. For each report, from the DOM as Chromium rendered it
(--dump-dom): the lines table has a row for every physical line of the file;
each break of the running balance is marked once in the table, and the
chart's marks (at most 100) stand for every break, one each or as many as
a mark's title says; every element is one the report itself writes (no text
of the file became an element or an attribute), the file's texts show as
text, and no control character or character that reorders or hides text
reaches the page as it stands. From Chromium's network log:
the page loaded nothing but the report itself (and a probe page that
fetches an image shows that the log would tell). A screenshot of each
report is left in OUT_DIR.
"""
import html.parser
import json
import os
import shutil
import sys

from buildtools import headless_chromium, wine

CONTENT_SECURITY_POLICY = "default-src 'none'; style-src 'unsafe-inline'; img-src data:"
# Every element the report writes; an element of any other name came from a file's text.
REPORT_ELEMENTS = {"html", "head", "meta", "link", "title", "style", "body", "h1", "h2", "p", "div", "table", "colgroup",
                   "col", "thead", "tbody", "tr", "th", "td", "span", "strong", "ul", "li", "svg", "defs",
                   "clippath", "rect", "line", "polyline", "circle", "text", "g"}
# Attributes the report writes; any other, or an event handler, came from a file's text.
REPORT_ATTRIBUTES = {"lang", "charset", "http-equiv", "content", "name", "rel", "href", "class", "style", "viewbox",
                     "role", "aria-label", "xmlns", "id", "x", "y", "x1", "x2", "y1", "y2", "width", "height",
                     "text-anchor", "dominant-baseline", "points", "clip-path", "cx", "cy", "r"}

SAMPLE_ACCOUNT = ["--sort-code", "12-34-56", "--account", "45678912"]
HOSTILE_ACCOUNT = ["--sort-code", "12-34-56", "--account", "12345678"]


def hostile_line(date, description, money, sort_code=b"12-34-56", type_code=b"DD"):
    return b",".join([date, type_code, sort_code, b"12345678", description, money]) + b"\r\n"


# A UTF-8 statement whose texts are markup, scripts and terminal controls,
# with an overdrawn balance, two breaks, another account's line, an amount
# that does not read, a line without a date and a stop with a line after it.
HOSTILE = (b"Transaction history,Orvale Online For Business\r\n"
           + hostile_line(b"01/11/2026", b"<b>BROUGHT FORWARD</b>", b",,100.00", type_code=b"BAL")
           + hostile_line(b"02/11/2026", b"<img src=x onerror=alert(1)>", b"10.00,,90.00")
           + hostile_line(b"03/11/2026", b"</table><script>alert(1)</script>", b"100.00,,-10.00")
           + hostile_line(b"04/11/2026", b"\"<link rel=stylesheet href=/x.css>\"", b"5.00,,-115.00",
                          type_code=b"<iframe src=/probe.html>")
           + hostile_line(b"05/11/2026", b"\x1b[2JAll lines imported OK\x07 \xc2\x9b \xe2\x80\xae28.40",
                          b"1.00,,-116.00")
           + hostile_line(b"06/11/2026", b"OTHER", b"1.00,,0.00", sort_code=b"<svg onload=alert(1)>")
           + hostile_line(b"07/11/2026", b"<a href=/probe.html>x</a>", b"<i>9</i>,,-116.00")
           + hostile_line(b"32/11/2026", b"\"&lt;escaped&gt; &amp; ' <!--\"", b"1.00,,-117.00")
           + hostile_line(b"08/11/2026", b"<style>*{display:none}</style>", b"1.00,,-118.00")
           + b"<script>alert(2)</script>\r\n"
           + hostile_line(b"09/11/2026", b"<object data=/probe.html>", b"1.00,,-119.00"))
# Texts of the hostile statement that must show as text on the page.
HOSTILE_TEXTS = ("<img src=x onerror=alert(1)>", "</table><script>alert(1)</script>",
                 "<link rel=stylesheet href=/x.css>", "\\x1B[2JAll lines imported OK\\x07 \\u009B \\u202E28.40",
                 "<style>*{display:none}</style>", "&lt;escaped&gt; &amp; ' <!--", "<svg onload=alert(1)>")

# Characters that reorder or hide text: none reaches the page as it stands.
HIDDEN = {0x061C, *range(0x200B, 0x2010), *range(0x2028, 0x202F), 0x2060, *range(0x2066, 0x206A), 0xFEFF}

# A statement whose every line writes the same balance after a debit: each
# line after the first breaks the running balance, and the chart groups the
# breaks into a mark each for a stretch of it.
MANY_BREAKS = 50_000
MANY_BREAKS_STATEMENT = (b"Transaction history,Orvale Online For Business\r\n"
                         + hostile_line(b"03/11/2026", b"PAYEE", b"1.00,,100.00") * (MANY_BREAKS + 1))
MOST_MARKS = 100

PROBE = ("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><link rel=\"icon\" href=\"data:,\"></head>"
         "<body><img src=\"/probe.png\"></body></html>")


class Dom(html.parser.HTMLParser):
    """What the checks need of a rendered page: its elements in order, its
    text, and the rows of the lines table's body."""

    VOID = {"meta", "link", "col", "br", "hr", "img", "input", "wbr", "source", "embed", "area", "base", "param"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.elements = []  # (name, attributes)
        self.text = []
        self.table_rows = 0
        self.mark_titles = []  # the title of each break mark of the chart
        self._open = []  # (name, class) of the elements open

    def handle_starttag(self, tag, attributes):
        attributes = dict(attributes)
        self.elements.append((tag, attributes))
        if tag == "tr" and self._inside("tbody") and self._innermost_table() == "lines":
            self.table_rows += 1
        if tag not in self.VOID:
            self._open.append((tag, attributes.get("class") or ""))

    def handle_endtag(self, tag):
        for index in range(len(self._open) - 1, -1, -1):
            if self._open[index][0] == tag:
                del self._open[index:]
                return

    def handle_data(self, data):
        self.text.append(data)
        if self._open[-2:] and [tag for tag, _ in self._open[-2:]] == ["g", "title"] and \
                "break-mark" in self._open[-2][1].split():
            self.mark_titles.append(data)

    def _inside(self, name):
        return any(tag == name for tag, _ in self._open)

    def _innermost_table(self):
        return next((css for tag, css in reversed(self._open) if tag == "table"), None)

    def with_class(self, name, tag):
        return [element for element in self.elements
                if element[0] == tag and name in (element[1].get("class") or "").split()]


def physical_lines(data):
    return data.count(b"\n") + (0 if data.endswith(b"\n") or not data else 1)


def main():
    wine_run, tool, module, samples, out = sys.argv[1:6]
    failures = []
    checks = []

    def expect(name, got, wanted):
        checks.append(name)
        if got != wanted:
            failures.append("%s: %r, expected %r" % (name, got, wanted))

    if shutil.which(headless_chromium.CHROMIUM) is None:
        print("chromium is not installed (./dev setup installs it)")
        print("0 passed, 1 failed")
        return 1
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    with open(os.path.join(out, "hostile.csv"), "wb") as handle:
        handle.write(HOSTILE)
    with open(os.path.join(out, "many-breaks.csv"), "wb") as handle:
        handle.write(MANY_BREAKS_STATEMENT)
    with open(os.path.join(out, "probe.html"), "w") as handle:
        handle.write(PROBE)
    cases = (("date-first", os.path.join(samples, "orvale-statement-date-first.csv"), SAMPLE_ACCOUNT, ()),
             ("account-first", os.path.join(samples, "orvale-statement-account-first.csv"), SAMPLE_ACCOUNT, ()),
             ("hostile", os.path.join(out, "hostile.csv"), HOSTILE_ACCOUNT, HOSTILE_TEXTS),
             ("many breaks", os.path.join(out, "many-breaks.csv"), HOSTILE_ACCOUNT, ()))
    with headless_chromium.FolderServer(out) as server:
        for name, statement, account, texts in cases:
            report = "report-%s.html" % name.replace(" ", "-")
            result = wine.capture([wine_run, tool, "Z:" + statement, *account, "--module", module,
                                          "--format", "json", "--report", "Z:" + os.path.join(out, report)])
            expect("%s: the tool's exit status" % name, result.returncode, 0)
            try:
                breaks = len(json.loads(result.stdout)["balance_check"]["breaks"])
            except (ValueError, KeyError) as error:
                failures.append("%s: no JSON from the tool (%s): %s" % (name, error, result.stderr))
                continue
            with open(statement, "rb") as handle:
                lines = physical_lines(handle.read())
            check_report(name, server, report, lines, breaks, texts, out, expect, failures)
        check_probe(server, out, expect)
    for failure in failures:
        print(failure)
    failed = len({failure.split(":")[0] for failure in failures})
    print("%d passed, %d failed" % (len(checks) - failed, failed))
    return 1 if failures else 0


def check_report(name, server, report, lines, breaks, texts, out, expect, failures):
    net_log = os.path.join(out, report + ".netlog.json")
    requests_before = len(server.requests)
    rendered, _ = headless_chromium.run(server.url(report), dump_dom=True, net_log=net_log)
    headless_chromium.run(server.url(report), screenshot=os.path.join(out, report + ".png"))
    dom = Dom()
    dom.feed(rendered)
    expect("%s: table rows" % name, dom.table_rows, lines)
    marks = len(dom.with_class("break-mark", "g"))
    expect("%s: breaks the chart's marks stand for" % name,
           (marks, sum(1 if title.startswith("line ") else int(title.split(" ")[0]) for title in dom.mark_titles)),
           (marks, breaks))
    expect("%s: marks at most %d" % (name, MOST_MARKS), marks <= MOST_MARKS, True)
    if name == "many breaks" and breaks != MANY_BREAKS:
        failures.append("many breaks: %d breaks, expected %d" % (breaks, MANY_BREAKS))
    expect("%s: breaks marked in the table" % name,
           (len(dom.with_class("brk", "tr")), len(dom.with_class("break", "strong"))), (breaks, breaks))
    if name == "hostile" and breaks == 0:
        failures.append("hostile: the statement's balance should break")
    foreign = sorted({tag for tag, _ in dom.elements if tag not in REPORT_ELEMENTS})
    expect("%s: elements the report does not write" % name, foreign, [])
    attributes = sorted({key for _, attributes in dom.elements for key in attributes if key not in REPORT_ATTRIBUTES})
    expect("%s: attributes the report does not write" % name, attributes, [])
    links = [attributes.get("href") for tag, attributes in dom.elements if "href" in attributes]
    expect("%s: addresses in the page" % name, links, ["data:,"])
    policies = [attributes.get("content") for tag, attributes in dom.elements
                if tag == "meta" and attributes.get("http-equiv", "").lower() == "content-security-policy"]
    expect("%s: content security policy" % name, policies, [CONTENT_SECURITY_POLICY])
    text = "".join(dom.text)
    expect("%s: file texts shown as text" % name, [t for t in texts if t not in text], [])
    expect("%s: control characters on the page" % name,
           [hex(ord(c)) for c in text if ord(c) < 0x20 and c not in "\n\t" or 0x7F <= ord(c) <= 0x9F], [])
    expect("%s: characters that reorder or hide text on the page" % name,
           sorted({hex(ord(c)) for c in text if ord(c) in HIDDEN}), [])
    expect("%s: loads in the network log" % name, headless_chromium.page_loads(net_log, server.origin),
           [server.url(report)])
    expect("%s: requests the server saw" % name, server.requests[requests_before:], ["/" + report] * 2)


def check_probe(server, out, expect):
    """A page that fetches an image: the network log shows the fetch."""
    net_log = os.path.join(out, "probe.netlog.json")
    headless_chromium.run(server.url("probe.html"), dump_dom=True, net_log=net_log)
    expect("probe: loads in the network log", headless_chromium.page_loads(net_log, server.origin),
           [server.url("probe.html"), server.url("probe.png")])


if __name__ == "__main__":
    sys.exit(main())
