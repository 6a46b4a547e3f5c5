#include "TableWriter.h"

#include "BufferedText.h"
#include "PrintableText.h"
#include "ValueText.h"

#include <algorithm>
#include <string_view>

namespace {

using Widths = std::array<size_t, kColumnCount>;
constexpr std::string_view kHeadings[kColumnCount] = {"No", "Direction", "Amount", "Date", "Description", "Reference"};

// Characters of UTF-8 text: every byte that does not continue a character.
size_t DisplayWidth(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Amounts in the table show at least two decimals, as people write money:
// the shortest decimal appended to `text` from `start` on.
void ShowTwoDecimals(std::string& text, size_t start) {
    const std::string_view shortest = std::string_view(text).substr(start);
    if (shortest.find_first_of("eE") != std::string_view::npos) return;
    const size_t point = shortest.find('.');
    if (point == std::string_view::npos)
        text += ".00";
    else if (shortest.size() - point == 2)
        text += '0';
}

// A cell of the table, made printable.
void AppendTableCell(std::string& text, const HostLine& line, size_t column, std::string_view date) {
    switch (column) {
        case kNumber:
            if (line.number)
                AppendWholeNumber(text, *line.number);
            else
                AppendPrintable(text, line.numberText);
            return;
        case kDirection:
            text += DirectionText(line.direction);
            return;
        case kAmount: {
            const size_t start = text.size();
            AppendShortestDecimal(text, line.amount);
            ShowTwoDecimals(text, start);
            return;
        }
        case kDate:
            text.append(date);
            return;
        case kDescription:
            AppendPrintable(text, line.description);
            return;
        default:
            AppendPrintable(text, line.reference);
    }
}

// The width of a cell of the table: a description or reference of
// printable ASCII is shown as it stands (Printable), so its width is its
// length; any other cell is made, in `scratch`, and measured.
size_t CellWidth(const HostLine& line, size_t column, std::string_view date, std::string& scratch) {
    const auto printableAscii = [](char c) { return c >= 0x20 && c < 0x7F; };
    const bool isText = column == kDescription || column == kReference;
    const std::string_view text = column == kDescription ? line.description : line.reference;
    if (isText && std::all_of(text.begin(), text.end(), printableAscii)) return text.size();
    scratch.clear();
    AppendTableCell(scratch, line, column, date);
    return DisplayWidth(scratch);
}

// A row of the table from `appendCell(text, column)`: the number and the
// amount aligned right, the other columns left, the last one unpadded.
template <typename AppendCell>
void WriteTableRow(BufferedText& out, const Widths& widths, AppendCell&& appendCell) {
    std::string& text = out.Text();
    for (size_t column = 0; column < kColumnCount; ++column) {
        if (column) text += "  ";
        const size_t start = text.size();
        appendCell(text, column);
        const size_t padding = widths[column] - DisplayWidth(std::string_view(text).substr(start));
        if (column == kNumber || column == kAmount)
            text.insert(start, padding, ' ');
        else if (column + 1 < kColumnCount)
            text.append(padding, ' ');
    }
    out << '\n';
    out.Checkpoint();
}

}  // namespace

// The columns are as wide as their widest cell.
void WriteTable(std::ostream& stream, const HostLines& lines) {
    Widths widths{};
    for (size_t column = 0; column < kColumnCount; ++column) widths[column] = DisplayWidth(kHeadings[column]);
    std::string cell;
    for (size_t index = 0; index < lines.Size(); ++index) {
        const HostLine line = lines[index];
        const std::string date = IsoDate(line.date);
        for (size_t column = 0; column < kColumnCount; ++column)
            widths[column] = std::max(widths[column], CellWidth(line, column, date, cell));
    }
    BufferedText out(stream);
    WriteTableRow(out, widths, [](std::string& text, size_t column) { text.append(kHeadings[column]); });
    for (size_t index = 0; index < lines.Size(); ++index) {
        const HostLine line = lines[index];
        const std::string date = IsoDate(line.date);
        WriteTableRow(out, widths,
                      [&](std::string& text, size_t column) { AppendTableCell(text, line, column, date); });
    }
}

std::array<std::string, kColumnCount> TableCells(const HostLine& line) {
    const std::string date = IsoDate(line.date);
    std::array<std::string, kColumnCount> cells;
    for (size_t column = 0; column < kColumnCount; ++column) AppendTableCell(cells[column], line, column, date);
    return cells;
}
