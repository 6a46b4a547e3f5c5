// The HTML report of an import (--report FILE.html): one page that a person
// opens in any browser, offline, and takes in at a glance. At the top the
// summary (the file, how it was read, the host's account, what became of its
// lines, where the import stopped, the running balance) with the lines the
// tool says on standard error; then the running balance chart; then a table
// of every physical line of the file, numbered as the walk numbers them, with
// what became of it in words and colour, the values the host got and, for
// every line not imported, why.
//
// The page is self-contained: its style is inline, its chart is SVG written
// here, it has no script, and its content security policy forbids every
// fetch. Every text that comes from the file goes through HtmlText.
#pragma once

#include "ImportReview.h"
#include "LinesForReport.h"
#include "HostLines.h"

#include <ostream>
#include <string>

// `file`: the statement file's path as the user gave it, in UTF-8.
void WriteReportPage(std::ostream& out, const std::string& file, const ImportReview& review,
                     const LinesForReport& lines, const HostLines& host);
