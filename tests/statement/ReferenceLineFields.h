// The line splitting and clean-up rules written the plain way, as the
// yardstick of the fast code in statement/: each field found by a walk from
// the start of the line, each clean-up step building a new text byte by
// byte, and a transaction line filled field by field from them. Slow and
// plainly right. DifferenceFromReference runs both on one line; the
// differential test runs it on generated lines and every fuzz corpus input,
// and the line_fields fuzz harness on everything it makes.
#pragma once

#include "CString.h"
#include "Amounts.h"
#include "FieldConversions.h"
#include "LineFields.h"
#include "LineReading.h"
#include "TransactionRecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace reference {

using Text = std::string;

constexpr char kQuote = '"';
constexpr size_t kMaxField = 511;

inline bool IsWhitespace(char c) { return std::strchr(" \t\n\v\f\r", c) != nullptr && c != '\0'; }

inline int CountFields(const Text& line, char separator, int& quoted) {
    int count = 1;
    for (char c : line) {
        if (c == kQuote)
            quoted = quoted ? 0 : 1;
        else if (c == separator && !quoted)
            ++count;
    }
    return quoted ? count - 1 : count;
}

inline std::optional<Text> WithinLimit(const Text& field) {
    if (field.size() > kMaxField) return std::nullopt;
    return field;
}

// Field n, or nothing when the line has none or it is too long. A quoted
// last field cuts `line` right after its closing quote.
inline std::optional<Text> GetField(Text& line, char separator, int n) {
    bool quoted = false;
    int separators = 0;
    size_t fieldStart = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == kQuote) {
            quoted = !quoted;
        } else if (line[i] == separator && !quoted) {
            if (++separators == n) return WithinLimit(line.substr(fieldStart, i - fieldStart));
            fieldStart = i + 1;
        }
    }
    if (separators != n - 1) return std::nullopt;
    const size_t lastSeparator = line.rfind(separator);
    if (lastSeparator == Text::npos) return std::nullopt;
    const size_t closing = line.rfind(kQuote);
    if (closing == Text::npos || closing <= lastSeparator) return WithinLimit(line.substr(lastSeparator + 1));
    line.erase(closing + 1);
    size_t opening = fieldStart;
    for (size_t i = closing - 1; i >= 1; --i) {
        if (line[i] == kQuote) {
            opening = i;
            break;
        }
    }
    return WithinLimit(line.substr(opening, closing - opening + 1));
}

inline Text StripQuotes(const Text& text) {
    const CString string(text.c_str());
    const int length = string.GetLength();
    if (length >= 2 && string.Find(kQuote) == 0 && string.ReverseFind(kQuote) == length - 1)
        return text.substr(1, text.size() - 2);
    return text;
}

inline Text RemoveWhitespace(const Text& text) {
    Text kept;
    for (char c : text)
        if (!IsWhitespace(c)) kept += c;
    return kept;
}

inline Text RemoveChars(const Text& text, const char* set) {
    const CString characters(set);
    Text kept;
    for (char c : text)
        if (characters.Find(c) == -1) kept += c;
    return kept;
}

// The amount of a field: quotes, whitespace and commas go, and every minus
// sign but one right after an exponent mark; then the leading decimal number
// (an optional plus sign, digits with an optional fraction, an optional
// exponent) as from_chars reads it, or 0 when there is none or it is not
// finite.
inline double Amount(const Text& field) {
    Text kept;
    for (char c : RemoveChars(RemoveWhitespace(StripQuotes(field)), ","))
        if (c != '-' || (!kept.empty() && (kept.back() == 'e' || kept.back() == 'E'))) kept += c;
    const auto digitsFrom = [&kept](size_t i) {
        while (i < kept.size() && kept[i] >= '0' && kept[i] <= '9') ++i;
        return i;
    };
    const size_t start = !kept.empty() && kept[0] == '+' ? 1 : 0;
    const size_t wholeEnd = digitsFrom(start);
    size_t end = wholeEnd;
    if (end < kept.size() && kept[end] == '.') end = digitsFrom(end + 1);
    if (wholeEnd == start && end - wholeEnd <= 1) return 0.0;
    if (end < kept.size() && (kept[end] == 'e' || kept[end] == 'E')) {
        const size_t sign = end + 1 < kept.size() && (kept[end + 1] == '+' || kept[end + 1] == '-') ? end + 2 : end + 1;
        const size_t exponentEnd = digitsFrom(sign);
        if (exponentEnd > sign) end = exponentEnd;
    }
    double amount = 0.0;
    if (std::from_chars(kept.data() + start, kept.data() + end, amount).ec != std::errc()) return 0.0;
    return std::isfinite(amount) ? amount : 0.0;
}

// A transaction line read into a record, or why it could not be.
struct Record {
    enum class Outcome { Read, NotATransactionLine, FieldTooLong };
    Outcome outcome = Outcome::Read;
    Text sortCode, accountNumber, dateText, typeCode, description;
    double debit = 0, credit = 0, balance = 0;
    int isDebit = 0;
    DATE date = 0;
    bool identifierCut = false;
    Text lineAfter;  // the line as reading left it
};

// Reads the fields of `line` in the order of the layout; a field that is
// missing or too long stops the reading where it is taken.
class RecordReader {
public:
    RecordReader(const Text& line, int layout) : m_line(line), m_layout(layout) {}

    Record Read() {
        int quoted = 0;
        if (CountFields(m_line, ',', quoted) != 8 || (m_layout != 1 && m_layout != 2))
            return Failed(Record::Outcome::NotATransactionLine);
        if (!(m_layout == 1 ? DateFirst() : AccountFirst()) || !Description() || !Amounts())
            return Failed(Record::Outcome::FieldTooLong);
        m_record.lineAfter = m_line;
        return m_record;
    }

private:
    Record Failed(Record::Outcome outcome) {
        Record failed;
        failed.outcome = outcome;
        failed.lineAfter = m_line;
        return failed;
    }

    bool Take(int n, Text& field) {
        const std::optional<Text> taken = GetField(m_line, ',', n);
        if (taken) field = *taken;
        return taken.has_value();
    }

    bool DateFirst() {
        return Date(1, [](const CString& text) { return ParseSlashDate(text); }) && TypeCode(2) && SortCode(3) &&
               AccountNumber(4);
    }

    bool AccountFirst() {
        return SortCode(1) && AccountNumber(2) && Date(3, [](const CString& text) { return ParseMonthDate(text); }) &&
               TypeCode(4);
    }

    template <typename Convert>
    bool Date(int n, Convert convert) {
        Text field;
        if (!Take(n, field)) return false;
        m_record.dateText = StripQuotes(field);
        m_record.date = convert(CString(m_record.dateText.c_str()));
        return true;
    }

    // A quoted type code loses its quotes, and then the spaces at both ends;
    // an unquoted one stays as written. Then its first 3 characters.
    bool TypeCode(int n) {
        Text field;
        if (!Take(n, field)) return false;
        Text code = StripQuotes(field);
        if (code.size() != field.size()) {
            code.erase(0, code.find_first_not_of(' '));  // all of it when it is all spaces
            code.erase(code.find_last_not_of(' ') + 1);
        }
        m_record.typeCode = code.substr(0, 3);
        return true;
    }

    bool SortCode(int n) {
        Text field;
        if (!Take(n, field)) return false;
        const Text cleaned = RemoveChars(RemoveWhitespace(StripQuotes(field)), ",-");
        m_record.sortCode = cleaned.substr(0, 6);
        m_record.identifierCut = m_record.identifierCut || cleaned.size() > 6;
        return true;
    }

    bool AccountNumber(int n) {
        Text field;
        if (!Take(n, field)) return false;
        const Text cleaned = RemoveWhitespace(StripQuotes(field));
        m_record.accountNumber = cleaned.substr(0, 8);
        m_record.identifierCut = m_record.identifierCut || cleaned.size() > 8;
        return true;
    }

    // The first " . " becomes a single space.
    bool Description() {
        Text field;
        if (!Take(5, field)) return false;
        Text text = StripQuotes(field);
        const int position = CString(text.c_str()).Find(" . ");
        if (position >= 0) text = text.substr(0, static_cast<size_t>(position)) + text.substr(position + 2);
        m_record.description = text;
        return true;
    }

    bool Amount(int n, double& amount) {
        Text field;
        if (!Take(n, field)) return false;
        const double parsed = reference::Amount(field);
        amount = parsed > 0.000005 ? parsed : 0.0;
        return true;
    }

    // A debit wins: the credit field is taken only without one.
    bool Amounts() {
        if (!Amount(6, m_record.debit)) return false;
        m_record.isDebit = m_record.debit > 0 ? 1 : 0;
        if (!m_record.isDebit && !Amount(7, m_record.credit)) return false;
        return Amount(8, m_record.balance);
    }

    Text m_line;
    int m_layout;
    Record m_record;
};

// The fast reading of the same line.
inline Record ReadByTheRecord(const char* line, int layout) {
    LineBuffer buffer;
    std::strcpy(buffer, line);
    CTransactionRecord record;
    record.Reset(layout);
    Record read;
    try {
        record.ParseLine(buffer);
        read = {Record::Outcome::Read,
                record.GetSortCode().GetText(),
                record.GetAccountNumber().GetText(),
                record.GetDateText().GetText(),
                record.GetTypeCode().GetText(),
                record.GetDescription().GetText(),
                record.GetDebitAmount(),
                record.GetCreditAmount(),
                record.GetBalance(),
                record.GetIsDebit(),
                record.GetDate(),
                record.HasCutIdentifier(),
                ""};
    } catch (CTransactionRecord::ReadError) {
        read.outcome = Record::Outcome::NotATransactionLine;
    } catch (long) {
        read.outcome = Record::Outcome::FieldTooLong;
    }
    read.lineAfter = buffer;
    return read;
}

inline bool SameRecord(const Record& a, const Record& b) {
    if (a.outcome != b.outcome || a.lineAfter != b.lineAfter) return false;
    if (a.outcome != Record::Outcome::Read) return true;
    return a.sortCode == b.sortCode && a.accountNumber == b.accountNumber && a.dateText == b.dateText &&
           a.typeCode == b.typeCode && a.description == b.description && a.debit == b.debit &&
           a.credit == b.credit && a.balance == b.balance && a.isDebit == b.isDebit && a.date == b.date &&
           a.identifierCut == b.identifierCut;
}

// The clean-up steps of one field, on a CString and on the field's bytes
// in the line, against the reference.
inline std::string CleanUpDifference(const Text& field) {
    const struct {
        const char* name;
        Text (*plain)(const Text&);
        void (*onString)(CString&);
    } steps[] = {
        {"StripQuotes", StripQuotes, ::StripQuotes},
        {"RemoveWhitespace", RemoveWhitespace, ::RemoveWhitespace},
        {"RemoveChars(\",-\")", [](const Text& t) { return RemoveChars(t, ",-"); },
         [](CString& s) { ::RemoveChars(s, ",-"); }},
        {"RemoveChars(\"\\xA3 \")", [](const Text& t) { return RemoveChars(t, "\xA3 "); },
         [](CString& s) { ::RemoveChars(s, CString("\xA3 ")); }},
    };
    for (const auto& step : steps) {
        CString string(field.c_str());
        step.onString(string);
        if (Text(string.GetText()) != step.plain(field)) return std::string(step.name) + " of a CString";
    }
    const FieldSpan span{field.data(), static_cast<int>(field.size())};
    const bool singleByte = std::none_of(field.begin(), field.end(), [](char c) { return c & 0x80; });
    for (const bool known : {false, singleByte}) {
        const FieldSpan unquoted = Unquoted(span, known);
        if (Text(unquoted.text, static_cast<size_t>(unquoted.length)) != StripQuotes(field))
            return std::string("Unquoted") + (known ? ", known single-byte," : "");
    }
    Text kept(field.size(), '\0');
    kept.resize(static_cast<size_t>(CopyWithout(span, &kept[0], [](char c) { return ::IsWhitespace(c); })));
    if (kept != RemoveWhitespace(field)) return "CopyWithout";
    const double amount = UnquotedAmount(Unquoted(span, false));
    if (!(amount == Amount(field))) return "UnquotedAmount";
    return "";
}

// The first way in which the fast splitting, clean-up or record reading of
// `line` (zero-terminated, at most kMaxLineLength characters) differs from
// the reference, or the empty text. Records are read for the comma only.
inline std::string DifferenceFromReference(const char* line, char separator) {
    const Text text = line;
    for (int startQuoted = 0; startQuoted <= 1; ++startQuoted) {
        int quoted = startQuoted, expectedQuoted = startQuoted;
        if (::CountFields(line, separator, quoted) != CountFields(text, separator, expectedQuoted) ||
            quoted != expectedQuoted)
            return "CountFields, starting quoted " + std::to_string(startQuoted);
    }
    int quoted = 0;
    const int count = CountFields(text, separator, quoted);
    const LineSplit split(line, separator);
    if (split.FieldCount() != count) return "LineSplit's field count";
    for (int n = -1; n <= count + 2; ++n) {
        const std::string which = " of field " + std::to_string(n);
        Text expectedLine = text;
        const std::optional<Text> expected = GetField(expectedLine, separator, n);
        LineBuffer cut;
        std::strcpy(cut, line);
        FieldBuffer buffer, peeked;
        const char* field = ::GetField(cut, separator, n, buffer);
        if (expected.has_value() != (field != nullptr) || (field && *expected != field)) return "GetField" + which;
        if (expectedLine != cut) return "the line GetField leaves" + which;
        const char* peek = ::PeekField(line, separator, n, peeked);
        if (expected.has_value() != (peek != nullptr) || (peek && *expected != peek)) return "PeekField" + which;
        if (n >= 1 && n <= LineSplit::kLocated) {
            FieldBuffer copied;
            const char* located = CopyField(split.Field(n), copied);
            if (expected.has_value() != (located != nullptr) || (located && *expected != located))
                return "LineSplit's field" + which;
            const int cutAt = split.CutFor(n);
            if ((cutAt >= 0 ? Text(line, static_cast<size_t>(cutAt)) : text) != expectedLine)
                return "LineSplit's cut" + which;
        }
        if (expected) {
            const std::string difference = CleanUpDifference(*expected);
            if (!difference.empty()) return difference + which;
        }
    }
    if (separator != ',') return "";
    for (int layout = 0; layout <= 2; ++layout)
        if (!SameRecord(RecordReader(text, layout).Read(), ReadByTheRecord(line, layout)))
            return "the record read with layout " + std::to_string(layout);
    return "";
}

}  // namespace reference
