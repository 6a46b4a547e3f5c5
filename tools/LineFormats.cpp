#include "LineFormats.h"

#include "BufferedText.h"
#include "PrintableText.h"

#include <oleauto.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

const char* const kColumns[] = {"number", "direction", "amount", "date", "description", "reference"};
constexpr size_t kColumnCount = 6;
enum Column : size_t { kNumber, kDirection, kAmount, kDate, kDescription, kReference };

void AppendDecimal(std::string& text, long long number) {
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, written.ptr);
}

// The shortest decimal of a whole number of hundredths (an amount, a
// balance, a whole day), nonzero and below 2^40, worked out from that
// number: as the double is the one nearest to it, and doubles so small lie
// far closer together than a hundredth, its digits without the zeros they
// end in are the one shortest text that reads back as the double. They are
// written fixed or in scientific notation, whichever is shorter (fixed on a
// tie), as std::to_chars writes them: its plain twin, which every other
// value takes, and which LineFormatsTest holds this one to. False, writing
// nothing, for any other value.
bool AppendHundredths(std::string& text, double value) {
    constexpr double kBelow = 1099511627776.0;  // 2^40
    if (!(value > -kBelow && value < kBelow)) return false;
    const long long hundredths = std::llround(value * 100);
    if (hundredths == 0 || static_cast<double>(hundredths) / 100 != value) return false;
    unsigned long long digits = hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths)
                                               : static_cast<unsigned long long>(hundredths);
    int exponent = -2;  // of the last digit
    for (; digits % 10 == 0; digits /= 10) ++exponent;
    char shown[24];
    const int count = static_cast<int>(std::to_chars(shown, shown + sizeof shown, digits).ptr - shown);
    const int first = exponent + count - 1;  // the exponent of the first digit
    const int fixedLength = exponent >= 0 ? count + exponent : first >= 0 ? count + 1 : 1 - first + count;
    const int scientificLength = count + (count > 1 ? 1 : 0) + 4;
    if (hundredths < 0) text += '-';
    if (scientificLength < fixedLength) {
        text += shown[0];
        if (count > 1) text.append(".").append(shown + 1, static_cast<size_t>(count - 1));
        text += first < 0 ? "e-0" : first < 10 ? "e+0" : "e+";
        AppendDecimal(text, first < 0 ? -first : first);
    } else if (exponent >= 0) {
        text.append(shown, static_cast<size_t>(count)).append(static_cast<size_t>(exponent), '0');
    } else if (first >= 0) {
        text.append(shown, static_cast<size_t>(first + 1)).append(".").append(shown + first + 1,
                                                                              static_cast<size_t>(count - first - 1));
    } else {
        text.append("0.").append(static_cast<size_t>(-first - 1), '0').append(shown, static_cast<size_t>(count));
    }
    return true;
}

void AppendShortest(std::string& text, double value) {
    if (AppendHundredths(text, value)) return;
    char digits[64];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, written.ptr);
}

// The number the line was given: its VT_I4 value, or the call log's text
// of what was put.
void AppendNumber(std::string& text, const HostLine& line) {
    if (line.number)
        AppendDecimal(text, *line.number);
    else
        text.append(line.numberText);
}

std::string Direction(long direction) {
    if (direction == 0) return "debit";
    if (direction == 1) return "credit";
    return std::to_string(direction);
}

struct CalendarDay {
    unsigned year, month, day;
};

// The day of a whole OLE Automation date from 1 (1899-12-31) to 2958465
// (9999-12-31), as the Gregorian calendar counts it; nothing for any other
// date, which VariantTimeToSystemTime reads (its plain twin: IsoDateTest
// holds the two equal on every day from 1 to 2958465).
std::optional<CalendarDay> CalendarDayOf(DATE date) {
    constexpr DATE kFirst = 1, kLast = 2958465;
    constexpr long kDaysFrom0000To1899_12_30 = 693899;  // counted from 0000-03-01, as below
    if (!(date >= kFirst && date <= kLast) || date != static_cast<double>(static_cast<long>(date))) return std::nullopt;
    // Days since 0000-03-01: a year then ends with February and its leap day.
    const long days = static_cast<long>(date) + kDaysFrom0000To1899_12_30;
    const long era = days / 146097;  // 400 years
    const long dayOfEra = days - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthFromMarch = (5 * dayOfYear + 2) / 153;
    const long month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    return CalendarDay{static_cast<unsigned>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)),
                       static_cast<unsigned>(month),
                       static_cast<unsigned>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1)};
}

// YYYY-MM-DD, for years of four digits at most.
std::string IsoText(const CalendarDay& day) {
    std::string text = "0000-00-00";
    const auto digits = [&](std::size_t end, std::size_t width, unsigned value) {
        for (std::size_t at = end; at > end - width; value /= 10) text[--at] = static_cast<char>('0' + value % 10);
    };
    digits(4, 4, day.year);
    digits(7, 2, day.month);
    digits(10, 2, day.day);
    return text;
}

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

// Runs of characters that need no escape are appended whole.
void AppendJsonString(std::string& text, std::string_view value) {
    const auto plain = [](char c) { return c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20; };
    text += '"';
    for (size_t at = 0; at < value.size(); ++at) {
        size_t run = at;
        while (run < value.size() && plain(value[run])) ++run;
        text.append(value.data() + at, run - at);
        if (run == value.size()) break;
        at = run;
        const auto byte = static_cast<unsigned char>(value[at]);
        if (byte < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", byte);
            text += code;
        } else {
            text += '\\';
            text += value[at];
        }
    }
    text += '"';
}

std::string JsonString(const std::string& value) {
    std::string text;
    AppendJsonString(text, value);
    return text;
}

// Characters of UTF-8 text: every byte that does not continue a character.
size_t DisplayWidth(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// A cell of the CSV: the texts (direction, description and reference) kept
// from being taken for formulas (SpreadsheetCell), every cell quoted as it needs.
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
                AppendDecimal(text, *line.number);
            else
                AppendCsvField(text, line.numberText, false);
            return;
        case kDirection:
            return AppendCsvField(text, Direction(line.direction), true);
        case kAmount:
            return AppendShortest(text, line.amount);
        case kDate:
            text.append(date);
            return;
        case kDescription:
            return AppendCsvField(text, line.description, true);
        default:
            return AppendCsvField(text, line.reference, true);
    }
}

void WriteCsv(std::ostream& stream, const HostLines& lines) {
    BufferedText out(stream);
    for (size_t column = 0; column < kColumnCount; ++column) out << (column ? "," : "") << kColumns[column];
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

std::string JsonMoney(const std::optional<Pence>& pence) {
    return pence ? ShortestDecimal(static_cast<double>(*pence) / 100) : "null";
}

void WriteJsonLine(std::string& text, const HostLine& line, std::string_view date, const std::optional<Pence>& balance) {
    text += "\"number\": ";
    if (line.number || !line.numberText.empty())
        AppendNumber(text, line);
    else
        text += "null";
    text += ", \"direction\": ";
    AppendJsonString(text, Direction(line.direction));
    text += ", \"amount\": ";
    AppendShortest(text, line.amount);
    text += ", \"date\": ";
    AppendJsonString(text, date);
    text += ", \"description\": ";
    AppendJsonString(text, line.description);
    text += ", \"reference\": ";
    AppendJsonString(text, line.reference);
    text += ", \"date_value\": ";
    AppendShortest(text, line.date);
    text += ", \"balance\": ";
    text += JsonMoney(balance);
    text += '}';
}

void WriteJsonLines(std::ostream& stream, const HostLines& lines, const std::vector<std::optional<Pence>>& balances) {
    BufferedText out(stream);
    out << '[';
    for (size_t index = 0; index < lines.Size(); ++index) {
        out << (index ? ",\n    {" : "\n    {");
        const HostLine line = lines[index];
        WriteJsonLine(out.Text(), line, IsoDate(line.date), index < balances.size() ? balances[index] : std::nullopt);
        out.Checkpoint();
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

void WriteJson(std::ostream& out, const HostLines& lines, const ImportReview& review) {
    out << "{\n  \"lines\": ";
    WriteJsonLines(out, lines, review.balance.importedBalances);
    WriteJsonReview(out, review);
    out << ",\n  \"balance_check\": ";
    WriteJsonBalanceCheck(out, review.balance);
    out << "\n}\n";
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
                AppendDecimal(text, *line.number);
            else
                AppendPrintable(text, line.numberText);
            return;
        case kDirection:
            text += Direction(line.direction);
            return;
        case kAmount: {
            const size_t start = text.size();
            AppendShortest(text, line.amount);
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

using Widths = std::array<size_t, kColumnCount>;
constexpr std::string_view kHeadings[kColumnCount] = {"No", "Direction", "Amount", "Date", "Description", "Reference"};

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

// The columns are as wide as their widest cell: the cells are made twice,
// once to measure them and once to write them.
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

}  // namespace

std::array<std::string, 6> TableCells(const HostLine& line) {
    const std::string date = IsoDate(line.date);
    std::array<std::string, kColumnCount> cells;
    for (size_t column = 0; column < kColumnCount; ++column) AppendTableCell(cells[column], line, column, date);
    return cells;
}

std::string ShortestDecimal(double value) {
    std::string text;
    AppendShortest(text, value);
    return text;
}

std::string IsoDate(DATE date) {
    if (const auto day = CalendarDayOf(date)) return IsoText(*day);
    SYSTEMTIME time;
    if (date == 0 || !VariantTimeToSystemTime(date, &time)) return "";
    return IsoText({time.wYear, time.wMonth, time.wDay});
}

void WriteLines(std::ostream& out, OutputFormat format, const HostLines& lines, const ImportReview& review) {
    switch (format) {
        case OutputFormat::Csv:
            return WriteCsv(out, lines);
        case OutputFormat::Json:
            return WriteJson(out, lines, review);
        case OutputFormat::Table:
            return WriteTable(out, lines);
    }
}
