// The statement lines the host received, written in the format asked for:
// a table for people (TableWriter.h), CSV (CsvWriter.h) or JSON
// (JsonWriter.h), the JSON with the review of the import beside the lines.
// Each line is formatted from its record as it comes, straight into a
// buffer (BufferedText): nothing is kept per line.
#pragma once

#include "HostLines.h"
#include "ImportReview.h"
#include "OutputFormat.h"

#include <ostream>

void WriteLines(std::ostream& out, OutputFormat format, const HostLines& lines, const ImportReview& review);
