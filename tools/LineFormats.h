// Writing the statement lines the host received as a table for people, as
// CSV or as JSON. Texts are UTF-8: the table's made printable (Printable),
// the CSV's exact but for the characters that reorder or hide text, shown
// escaped, and the apostrophe that keeps a spreadsheet from taking a text
// for a formula (SpreadsheetCell), the JSON's exact. The JSON
// form also carries each line's balance from the file and the review of the
// import: what the host did not get, and the running balance check. Each
// line is formatted from its record as it comes, straight into a buffer
// (BufferedText): nothing is kept per line (the table reads the records
// twice, once for its column widths).
#pragma once

#include "CommandLine.h"
#include "HostLines.h"
#include "ImportReview.h"

#include <array>
#include <ostream>
#include <string>

void WriteLines(std::ostream& out, OutputFormat format, const HostLines& lines, const ImportReview& review);

// The shortest decimal text that reads back as the same double: 12.5, 100.
std::string ShortestDecimal(double value);
// YYYY-MM-DD of an OLE Automation date; empty for 0.
std::string IsoDate(DATE date);

// A statement line's cells as the table shows them: number, direction,
// amount (at least two decimals), date, description and reference, each
// made printable.
std::array<std::string, 6> TableCells(const HostLine& line);
