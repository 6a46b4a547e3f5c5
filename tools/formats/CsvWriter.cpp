#include "CsvWriter.h"

#include "BufferedText.h"
#include "LineCells.h"
#include "PrintableText.h"
#include "ValueText.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

const char* const kColumnNames[kColumnCount] = {"number", "direction", "amount", "date", "description", "reference"};

// Quoted when it holds a separator, a quote or a line break; a vertical tab,
// which some spreadsheets take for a line break, too: the cell appended to
// `text` from `start` on.
void QuoteCsvCell(std::string& text, size_t start) {
    const auto needsQuotes = [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n' || c == '\v'; };
    if (std::none_of(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), needsQuotes)) return;
    const std::string cell = text.substr(start);
    text.resize(start);
    text += '"';
    for (const char c : cell) {
        if (c == '"') text += '"';
        text += c;
    }
    text += '"';
}

// A cell of the CSV, quoted as it needs: `cell` as it stands, or, for a
// text (direction, description and reference), kept from being taken for a
// formula (SpreadsheetCell).
void AppendCsvField(std::string& text, std::string_view cell, bool isText) {
    const size_t start = text.size();
    if (isText)
        AppendSpreadsheetCell(text, cell);
    else
        text.append(cell);
    QuoteCsvCell(text, start);
}

// A VT_I4 number, an amount and a date hold none of the characters a cell
// is quoted for: they are written as they stand.
void AppendCsvCell(std::string& text, const HostLine& line, size_t column, std::string_view date) {
    switch (column) {
        case kNumber:
            if (line.number)
                AppendWholeNumber(text, *line.number);
            else
                AppendCsvField(text, line.numberText, false);
            return;
        case kDirection:
            return AppendCsvField(text, DirectionText(line.direction), true);
        case kAmount:
            return AppendShortestDecimal(text, line.amount);
        case kDate:
            text.append(date);
            return;
        case kDescription:
            return AppendCsvField(text, line.description, true);
        default:
            return AppendCsvField(text, line.reference, true);
    }
}

}  // namespace

void WriteCsv(std::ostream& stream, const HostLines& lines) {
    BufferedText out(stream);
    for (size_t column = 0; column < kColumnCount; ++column) out << (column ? "," : "") << kColumnNames[column];
    out << '\n';
    for (size_t index = 0; index < lines.Size(); ++index) {
        const HostLine line = lines[index];
        const std::string date = IsoDate(line.date);
        for (size_t column = 0; column < kColumnCount; ++column) {
            if (column) out << ',';
            AppendCsvCell(out.Text(), line, column, date);
        }
        out << '\n';
        out.Checkpoint();
    }
}
