// The host's lines as CSV: a header row, then a row a line. Texts are
// exact but for the characters that reorder or hide text, shown escaped,
// and the apostrophe that keeps a spreadsheet from taking a text for a
// formula (SpreadsheetCell); a cell is quoted as it needs.
#pragma once

#include "HostLines.h"

#include <ostream>

void WriteCsv(std::ostream& out, const HostLines& lines);
