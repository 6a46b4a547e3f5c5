#include "JsonWriter.h"

#include "BufferedText.h"
#include "LineCells.h"
#include "ValueText.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

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

std::string JsonMoney(const std::optional<Pence>& pence) {
    return pence ? ShortestDecimal(static_cast<double>(*pence) / 100) : "null";
}

// The number the line was given: its VT_I4 value, or the call log's text
// of what was put; null when nothing was.
void AppendJsonLineNumber(std::string& text, const HostLine& line) {
    if (line.number)
        AppendWholeNumber(text, *line.number);
    else if (!line.numberText.empty())
        text.append(line.numberText);
    else
        text += "null";
}

void WriteJsonLine(std::string& text, const HostLine& line, std::string_view date, const std::optional<Pence>& balance) {
    text += "\"number\": ";
    AppendJsonLineNumber(text, line);
    text += ", \"direction\": ";
    AppendJsonString(text, DirectionText(line.direction));
    text += ", \"amount\": ";
    AppendShortestDecimal(text, line.amount);
    text += ", \"date\": ";
    AppendJsonString(text, date);
    text += ", \"description\": ";
    AppendJsonString(text, line.description);
    text += ", \"reference\": ";
    AppendJsonString(text, line.reference);
    text += ", \"date_value\": ";
    AppendShortestDecimal(text, line.date);
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

}  // namespace

void WriteJson(std::ostream& out, const HostLines& lines, const ImportReview& review) {
    out << "{\n  \"lines\": ";
    WriteJsonLines(out, lines, review.balance.importedBalances);
    WriteJsonReview(out, review);
    out << ",\n  \"balance_check\": ";
    WriteJsonBalanceCheck(out, review.balance);
    out << "\n}\n";
}
