#include "LineFormats.h"

#include "PrintableText.h"

#include <oleauto.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <iomanip>
#include <string_view>
#include <vector>

namespace {

using reference_host::StatementLineRecords;
using reference_host::StatementLineView;

const char* const kColumns[] = {"number", "direction", "amount", "date", "description", "reference"};
constexpr size_t kColumnCount = 6;
// The columns that hold text, not numbers or dates.
constexpr bool kTextColumn[kColumnCount] = {false, true, false, false, true, true};

using Row = std::array<std::string, kColumnCount>;

std::string Number(std::string_view variant) {
    const std::string_view prefix = "VT_I4 ";
    return std::string(variant.substr(0, prefix.size()) == prefix ? variant.substr(prefix.size()) : variant);
}

std::string Direction(long direction) {
    if (direction == 0) return "debit";
    if (direction == 1) return "credit";
    return std::to_string(direction);
}

Row RowOf(const StatementLineView& line) {
    return {Number(line.number), Direction(line.direction), ShortestDecimal(line.amount), IsoDate(line.date),
            std::string(line.description), std::string(line.reference)};
}

// Quoted when it holds a separator, a quote or a line break; a vertical tab,
// which some spreadsheets take for a line break, too.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n\v") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string JsonString(const std::string& text) {
    std::string escaped = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            escaped += '\\';
            escaped += static_cast<char>(c);
        } else if (c < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            escaped += code;
        } else {
            escaped += static_cast<char>(c);
        }
    }
    return escaped + "\"";
}

// Characters of UTF-8 text: every byte that does not continue a character.
size_t DisplayWidth(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void WriteCsv(std::ostream& out, const StatementLineRecords& lines) {
    for (size_t column = 0; column < kColumnCount; ++column) out << (column ? "," : "") << kColumns[column];
    out << "\n";
    for (size_t index = 0; index < lines.Size(); ++index) {
        const Row row = RowOf(lines[index]);
        for (size_t column = 0; column < kColumnCount; ++column)
            out << (column ? "," : "") << CsvField(kTextColumn[column] ? SpreadsheetCell(row[column]) : row[column]);
        out << "\n";
    }
}

std::string JsonMoney(const std::optional<Pence>& pence) {
    return pence ? ShortestDecimal(static_cast<double>(*pence) / 100) : "null";
}

void WriteJsonLines(std::ostream& out, const StatementLineRecords& lines,
                    const std::vector<std::optional<Pence>>& balances) {
    out << "[";
    for (size_t index = 0; index < lines.Size(); ++index) {
        const Row row = RowOf(lines[index]);
        out << (index ? ",\n    {" : "\n    {");
        out << "\"number\": " << (row[0].empty() ? "null" : row[0]) << ", \"direction\": " << JsonString(row[1])
            << ", \"amount\": " << row[2] << ", \"date\": " << JsonString(row[3])
            << ", \"description\": " << JsonString(row[4]) << ", \"reference\": " << JsonString(row[5])
            << ", \"date_value\": " << ShortestDecimal(lines[index].date)
            << ", \"balance\": " << JsonMoney(index < balances.size() ? balances[index] : std::nullopt) << "}";
    }
    out << (lines.Size() == 0 ? "]" : "\n  ]");
}

// `consistent` is null when nothing could be checked.
void WriteJsonBalanceCheck(std::ostream& out, const BalanceCheck& check) {
    const bool checked = check.outcome == BalanceCheck::Outcome::Checked;
    out << "{\"consistent\": " << (checked ? (check.Consistent() ? "true" : "false") : "null") << ", \"breaks\": [";
    for (size_t index = 0; index < check.breaks.size(); ++index)
        out << (index ? ", " : "") << "{\"line\": " << check.breaks[index].lineNumber
            << ", \"reason\": " << JsonString(check.Reason(check.breaks[index])) << "}";
    out << "], \"closing_balance\": " << JsonMoney(check.closing) << ", \"direction\": "
        << (!checked ? "null" : check.order == BalanceOrder::OldestFirst ? "\"oldest_first\"" : "\"newest_first\"")
        << ", \"lines_checked\": " << check.lines
        << ", \"stopped_at_line\": " << (check.stop ? std::to_string(*check.stop) : "null")
        << ", \"summary\": " << JsonString(BalanceSummary(check)) << "}";
}

std::string JsonLineNumbers(const LineNumbers& lines) {
    std::string text = "{\"count\": " + std::to_string(lines.Count()) + ", \"lines\": [";
    for (size_t index = 0; index < lines.All().size(); ++index)
        text += (index ? ", " : "") + std::to_string(lines.All()[index]);
    return text + "]}";
}

// The lines, and each one's fields as written.
std::string JsonRefusedAmounts(const RefusedAmountLines& refused) {
    std::string lines, fields;
    for (const RefusedAmountLines::Line& line : refused.All()) {
        lines += (lines.empty() ? "" : ", ") + std::to_string(line.lineNumber);
        for (const RefusedMoneyField& field : line.fields)
            fields += std::string(fields.empty() ? "" : ", ") + "{\"line\": " + std::to_string(line.lineNumber) +
                      ", \"field\": " + std::to_string(field.field) + ", \"name\": " + JsonString(field.name) +
                      ", \"text\": " + JsonString(field.text) + "}";
    }
    return "{\"count\": " + std::to_string(refused.Count()) + ", \"lines\": [" + lines + "], \"fields\": [" +
           fields + "]}";
}

std::string JsonFileChange(const std::optional<FileChange>& change) {
    if (!change) return "null";
    return "{\"kind\": \"" + std::string(change->KindName()) + "\", \"line\": " +
           (change->lineNumber ? std::to_string(*change->lineNumber) : "null") +
           ", \"statement_line\": " + std::to_string(change->statementLine) +
           ", \"value\": " + (change->value.empty() ? "null" : JsonString(change->value)) + "}";
}

std::string JsonAccounts(const std::vector<WrittenAccount>& accounts) {
    std::string text = "[";
    for (size_t index = 0; index < accounts.size(); ++index)
        text += (index ? ", " : "") + std::string("{\"sort_code\": ") + JsonString(accounts[index].sortCode) +
                ", \"account\": " + JsonString(accounts[index].accountNumber) + "}";
    return text + "]";
}

std::string JsonStrings(const std::vector<std::string>& texts) {
    std::string text = "[";
    for (size_t index = 0; index < texts.size(); ++index) text += (index ? ", " : "") + JsonString(texts[index]);
    return text + "]";
}

std::string JsonReplacedLines(const ReplacedLines& lines) {
    std::string text = JsonLineNumbers(lines.Lines());
    text.pop_back();
    return text + ", \"texts\": " + JsonStrings(lines.Texts()) + "}";
}

const char* JsonBool(bool value) { return value ? "true" : "false"; }

// What the review found, beside the lines: every fact the warnings say.
void WriteJsonReview(std::ostream& out, const ImportReview& review) {
    const LossSummary& losses = review.losses;
    const auto stop = losses.StoppedBeforeTheEnd();
    out << ",\n  \"recognised\": " << JsonBool(review.recognised)
        << ",\n  \"recognizer_recognised\": " << JsonBool(review.recognizerTitle.has_value())
        << ",\n  \"recognizer_agrees\": " << JsonBool(review.RecognizerAgrees())
        << ",\n  \"file_changed\": " << JsonBool(review.fileChange.has_value())
        << ",\n  \"file_change\": " << JsonFileChange(review.fileChange)
        << ",\n  \"stopped_at_line\": " << (stop ? std::to_string(*stop) : "null")
        << ",\n  \"lines_not_read\": " << (stop ? losses.LinesNotRead() : 0)
        << ",\n  \"lines_without_date\": " << JsonLineNumbers(losses.Undated())
        << ",\n  \"unreadable_amounts\": " << JsonRefusedAmounts(losses.UnreadableAmounts())
        << ",\n  \"two_amounts\": " << JsonRefusedAmounts(losses.TwoAmounts())
        << ",\n  \"empty_rows\": " << JsonLineNumbers(losses.EmptyRows())
        << ",\n  \"replaced_characters\": " << JsonReplacedLines(losses.Replaced())
        << ",\n  \"utf8_lines_read_in_ansi\": " << JsonLineNumbers(losses.Utf8ReadInAnsi())
        << ",\n  \"other_account_lines\": " << losses.OtherAccount()
        << ",\n  \"other_accounts\": " << JsonAccounts(losses.OtherAccounts())
        << ",\n  \"no_line_matched\": " << JsonBool(review.NoLineMatched())
        << ",\n  \"no_amount_lines\": " << losses.NoAmount()
        << ",\n  \"strict_fails\": " << JsonBool(review.StrictFails())
        << ",\n  \"warnings\": " << JsonStrings(Warnings(review));
}

void WriteJson(std::ostream& out, const StatementLineRecords& lines, const ImportReview& review) {
    out << "{\n  \"lines\": ";
    WriteJsonLines(out, lines, review.balance.importedBalances);
    WriteJsonReview(out, review);
    out << ",\n  \"balance_check\": ";
    WriteJsonBalanceCheck(out, review.balance);
    out << "\n}\n";
}

// Amounts in the table show at least two decimals, as people write money.
std::string MoneyText(const std::string& shortest) {
    if (shortest.find_first_of("eE") != std::string::npos) return shortest;
    const size_t point = shortest.find('.');
    if (point == std::string::npos) return shortest + ".00";
    return shortest.size() - point == 2 ? shortest + "0" : shortest;
}

using Widths = std::array<size_t, kColumnCount>;

void Widen(Widths& widths, const Row& row) {
    for (size_t column = 0; column < kColumnCount; ++column)
        widths[column] = std::max(widths[column], DisplayWidth(row[column]));
}

void WriteTableRow(std::ostream& out, const Widths& widths, const Row& row) {
    for (size_t column = 0; column < kColumnCount; ++column) {
        const size_t padding = widths[column] - DisplayWidth(row[column]);
        const bool rightAligned = column == 0 || column == 2;
        if (column) out << "  ";
        if (rightAligned) out << std::string(padding, ' ');
        out << row[column];
        if (!rightAligned && column + 1 < kColumnCount) out << std::string(padding, ' ');
    }
    out << "\n";
}

// The columns are as wide as their widest cell: the rows are made twice,
// once to measure them and once to write them.
void WriteTable(std::ostream& out, const StatementLineRecords& lines) {
    const Row headings = {"No", "Direction", "Amount", "Date", "Description", "Reference"};
    Widths widths{};
    Widen(widths, headings);
    for (size_t index = 0; index < lines.Size(); ++index) Widen(widths, TableCells(lines[index]));
    WriteTableRow(out, widths, headings);
    for (size_t index = 0; index < lines.Size(); ++index) WriteTableRow(out, widths, TableCells(lines[index]));
}

}  // namespace

Row TableCells(const StatementLineView& line) {
    Row row = RowOf(line);
    row[2] = MoneyText(row[2]);
    for (std::string& cell : row) cell = Printable(cell);
    return row;
}

std::string ShortestDecimal(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string IsoDate(DATE date) {
    SYSTEMTIME time;
    if (date == 0 || !VariantTimeToSystemTime(date, &time)) return "";
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", time.wYear, time.wMonth, time.wDay);
    return text;
}

void WriteLines(std::ostream& out, OutputFormat format, const StatementLineRecords& lines,
                const ImportReview& review) {
    switch (format) {
        case OutputFormat::Csv:
            return WriteCsv(out, lines);
        case OutputFormat::Json:
            return WriteJson(out, lines, review);
        case OutputFormat::Table:
            return WriteTable(out, lines);
    }
}
