// The line splitting and clean-up rules written the plain way, as the
// yardstick of the fast code in statement/: the fields found by one walk
// from the start of the line, each clean-up step building a new text byte by
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
#include "Platform.h"
#include "StatementFormat.h"
#include "TransactionRecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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

// Every field of a line, from one walk of it: fields[n - 1] is field n, or
// nothing when it is too long; a line without a separator has no field.
// The last field runs from the last separator (quoted or not); when a quote
// follows that separator, the last quote closes the field, which starts at
// the nearest quote before it, and the line is cut right after it.
struct Fields {
    std::vector<std::optional<Text>> fields;
    Text lineAfterLast;  // the line as taking its last field leaves it
};

inline Fields SplitLine(const Text& line, char separator) {
    Fields split{{}, line};
    split.fields.reserve(static_cast<size_t>(std::count(line.begin(), line.end(), separator)) + 1);
    bool quoted = false;
    size_t fieldStart = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == kQuote) {
            quoted = !quoted;
        } else if (line[i] == separator && !quoted) {
            split.fields.push_back(WithinLimit(line.substr(fieldStart, i - fieldStart)));
            fieldStart = i + 1;
        }
    }
    const size_t lastSeparator = line.rfind(separator);
    if (lastSeparator == Text::npos) {
        split.fields.clear();
        return split;
    }
    const size_t closing = line.rfind(kQuote);
    if (closing == Text::npos || closing <= lastSeparator) {
        split.fields.push_back(WithinLimit(line.substr(lastSeparator + 1)));
        return split;
    }
    split.lineAfterLast.erase(closing + 1);
    size_t opening = fieldStart;
    for (size_t i = closing - 1; i >= 1; --i) {
        if (line[i] == kQuote) {
            opening = i;
            break;
        }
    }
    split.fields.push_back(WithinLimit(line.substr(opening, closing - opening + 1)));
    return split;
}

// The quotes and the characters of a set are found by characters of the
// code page, as the string class finds them (by the platform's searches).
inline Text StripQuotes(const Text& text) {
    const char* const start = text.c_str();
    const size_t length = std::strlen(start);
    if (length >= 2 && platform::FindFirstMultibyte(start, kQuote) == start &&
        platform::FindLastMultibyte(start, kQuote) == start + length - 1)
        return text.substr(1, text.size() - 2);
    return text;
}

inline Text RemoveWhitespace(const Text& text) {
    Text kept;
    kept.reserve(text.size());
    for (char c : text)
        if (!IsWhitespace(c)) kept += c;
    return kept;
}

inline Text RemoveChars(const Text& text, const char* set) {
    Text kept;
    kept.reserve(text.size());
    for (char c : text)
        if (c == '\0' || !platform::FindFirstMultibyte(set, c)) kept += c;
    return kept;
}

// The amount of a field as the bank writes it, found the plain way: the
// enclosing quotes go, then whitespace and the no-break spaces of the
// encoding; a text of nothing but signs and quotes is empty; otherwise one
// sign, a minus or plus at the start or a minus at the end, goes, and the
// rest must be a number: a whole part of digits, or of a group of one to
// three digits and groups of three after it with a comma before each, then
// a full stop and digits, or neither; one to 15 digits in all. Anything
// else is refused.
struct AmountReading {
    WrittenAmount::Kind kind = WrittenAmount::Kind::Empty;
    bool negative = false;
    uint64_t digits = 0;
    int fractionDigits = 0;
    double value = 0.0;
};

inline Text WithoutBlanks(const Text& text, FileEncoding encoding) {
    const Text noBreakSpace = encoding == FileEncoding::Utf8 ? "\xC2\xA0" : "\xA0";
    Text kept;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, noBreakSpace.size(), noBreakSpace) == 0)
            i += noBreakSpace.size() - 1;
        else if (!IsWhitespace(text[i]))
            kept += text[i];
    }
    return kept;
}

inline bool AllDigits(const Text& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits, or groups of digits between commas: one to three in the first,
// three in every other.
inline bool IsWholePart(const Text& whole) {
    if (whole.find(',') == Text::npos) return AllDigits(whole);
    std::vector<Text> groups(1);
    for (char c : whole) {
        if (c == ',')
            groups.emplace_back();
        else
            groups.back() += c;
    }
    if (groups[0].empty() || groups[0].size() > 3) return false;
    return std::all_of(groups.begin(), groups.end(), [&](const Text& group) {
        return AllDigits(group) && (&group == &groups[0] || group.size() == 3);
    });
}

inline AmountReading Amount(const Text& field, FileEncoding encoding = FileEncoding::Ansi) {
    const Text text = WithoutBlanks(StripQuotes(field), encoding);
    AmountReading reading;
    if (text.find_first_not_of("-+\"") == Text::npos) return reading;
    reading.kind = WrittenAmount::Kind::Refused;
    Text number = text;
    bool negative = false;
    if (number.front() == '-' || number.front() == '+') {
        negative = number.front() == '-';
        number.erase(0, 1);
    } else if (number.back() == '-') {
        negative = true;
        number.pop_back();
    }
    const size_t point = number.find('.');
    const Text whole = number.substr(0, point);
    const Text fraction = point == Text::npos ? "" : number.substr(point + 1);
    if (point != Text::npos && (fraction.empty() || !AllDigits(fraction))) return reading;
    if (!IsWholePart(whole)) return reading;
    const Text digits = RemoveChars(whole, ",") + fraction;
    if (digits.empty() || digits.size() > 15) return reading;
    reading.kind = WrittenAmount::Kind::Amount;
    reading.negative = negative;
    std::from_chars(digits.data(), digits.data() + digits.size(), reading.digits);
    reading.fractionDigits = static_cast<int>(fraction.size());
    const Text decimal = "0" + RemoveChars(whole, ",") + "." + fraction + "0";
    std::from_chars(decimal.data(), decimal.data() + decimal.size(), reading.value);
    return reading;
}

inline bool SameAmount(const WrittenAmount& amount, const AmountReading& reading) {
    return amount.kind == reading.kind && amount.negative == reading.negative && amount.digits == reading.digits &&
           amount.fractionDigits == reading.fractionDigits && amount.Value() == reading.value;
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
    CTransactionRecord::AmountRefusal refusal = CTransactionRecord::AmountRefusal::None;
    Text lineAfter;  // the line as reading left it
};

// Reads the fields of `line` in the order of the layout; a field that is
// missing or too long stops the reading where it is taken.
class RecordReader {
public:
    RecordReader(const Text& line, int layout, FileEncoding encoding = FileEncoding::Ansi)
        : m_line(line), m_layout(layout), m_encoding(encoding) {}

    Record Read() {
        int quoted = 0;
        if (CountFields(m_line, ',', quoted) != 8 || (m_layout != 1 && m_layout != 2))
            return Failed(Record::Outcome::NotATransactionLine);
        m_fields = SplitLine(m_line, ',');
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

    // Field n of the line as it stands; taking the last field cuts the line,
    // which is then split again.
    bool Take(int n, Text& field) {
        if (n < 1 || static_cast<size_t>(n) > m_fields.fields.size()) return false;
        const std::optional<Text> taken = m_fields.fields[static_cast<size_t>(n) - 1];
        if (static_cast<size_t>(n) == m_fields.fields.size() && m_fields.lineAfterLast != m_line) {
            m_line = m_fields.lineAfterLast;
            m_fields = SplitLine(m_line, ',');
        }
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

    // A quoted type code loses its quotes, and then the whitespace at both
    // ends; an unquoted one stays as written. Then its first 3 characters.
    bool TypeCode(int n) {
        Text field;
        if (!Take(n, field)) return false;
        Text code = StripQuotes(field);
        if (code.size() != field.size()) {
            code.erase(0, code.find_first_not_of(" \t\n\v\f\r"));  // all of it when it is all whitespace
            code.erase(code.find_last_not_of(" \t\n\v\f\r") + 1);
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
        const char* found = text.empty() ? nullptr : platform::FindMultibyteText(text.c_str(), " . ");
        if (found) text.erase(static_cast<size_t>(found - text.c_str()), 2);
        m_record.description = text;
        return true;
    }

    bool Amount(int n, AmountReading& amount) {
        Text field;
        if (!Take(n, field)) return false;
        amount = reference::Amount(field, m_encoding);
        return true;
    }

    static double Carried(const AmountReading& amount) { return amount.value > 0.000005 ? amount.value : 0.0; }

    // The debit's amount or the credit's, or none: not when either field
    // is refused, nor when both carry one.
    bool Amounts() {
        using Refusal = CTransactionRecord::AmountRefusal;
        constexpr auto kRefused = WrittenAmount::Kind::Refused;
        AmountReading debit, credit, balance;
        if (!Amount(6, debit) || !Amount(7, credit) || !Amount(8, balance)) return false;
        if (debit.kind == kRefused && credit.kind == kRefused)
            m_record.refusal = Refusal::BothUnreadable;
        else if (debit.kind == kRefused)
            m_record.refusal = Refusal::DebitUnreadable;
        else if (credit.kind == kRefused)
            m_record.refusal = Refusal::CreditUnreadable;
        else if (Carried(debit) > 0 && Carried(credit) > 0)
            m_record.refusal = Refusal::BothGiven;
        if (m_record.refusal == Refusal::None) {
            m_record.isDebit = Carried(debit) > 0 ? 1 : 0;
            m_record.debit = Carried(debit);
            m_record.credit = m_record.isDebit ? 0.0 : Carried(credit);
        }
        m_record.balance = Carried(balance);
        return true;
    }

    Text m_line;
    Fields m_fields;
    int m_layout;
    FileEncoding m_encoding;
    Record m_record;
};

// The fast readings of one line, with each layout, as the statement reader
// takes it: the line is split once, and a line that is not a transaction
// line is refused without an exception. With `alsoByOperator`, such a line
// must also be refused with InvalidRecord by the reading that splits the
// line itself.
class RecordReadings {
public:
    explicit RecordReadings(const char* line) : m_line(line), m_split((std::strcpy(m_buffer, line), m_buffer), ',') {}

    Record Read(int layout, bool alsoByOperator, FileEncoding encoding = FileEncoding::Ansi) {
        std::strcpy(m_buffer, m_line);  // what the last reading cut, back; the split still holds
        CTransactionRecord record;
        record.Reset(layout);
        Record read;
        if (!record.IsTransactionLine(m_split.FieldCount())) {
            read.outcome = Record::Outcome::NotATransactionLine;
            if (alsoByOperator && Parses(record)) read.outcome = Record::Outcome::Read;  // differs from the reference
        } else {
            read = Parse(record, encoding);
        }
        read.lineAfter = m_buffer;
        return read;
    }

private:
    bool Parses(CTransactionRecord& record) {
        try {
            record.ParseLine(m_buffer);
            return true;
        } catch (CTransactionRecord::ReadError) {
            return false;
        }
    }

    Record Parse(CTransactionRecord& record, FileEncoding encoding) {
        Record read;
        try {
            record.ParseLine(m_buffer, m_split, encoding);
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
                    record.GetAmountRefusal(),
                    ""};
        } catch (CTransactionRecord::ReadError) {
            read.outcome = Record::Outcome::NotATransactionLine;
        } catch (long) {
            read.outcome = Record::Outcome::FieldTooLong;
        }
        return read;
    }

    const char* m_line;
    LineBuffer m_buffer;
    const LineSplit m_split;
};

inline bool SameRecord(const Record& a, const Record& b) {
    if (a.outcome != b.outcome || a.lineAfter != b.lineAfter) return false;
    if (a.outcome != Record::Outcome::Read) return true;
    return a.sortCode == b.sortCode && a.accountNumber == b.accountNumber && a.dateText == b.dateText &&
           a.typeCode == b.typeCode && a.description == b.description && a.debit == b.debit &&
           a.credit == b.credit && a.balance == b.balance && a.isDebit == b.isDebit && a.date == b.date &&
           a.identifierCut == b.identifierCut && a.refusal == b.refusal;
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
        {"RemoveChars(\",-\\\"\\xA3\")", [](const Text& t) { return RemoveChars(t, ",-\"\xA3"); },
         [](CString& s) { ::RemoveChars(s, ",-\"\xA3"); }},
    };
    for (const auto& step : steps) {
        CString string(field.c_str());
        step.onString(string);
        if (string.GetText() != step.plain(field)) return std::string(step.name) + " of a CString";
    }
    const Text unquotedField = StripQuotes(field);
    const FieldSpan span{field.data(), static_cast<int>(field.size())};
    const bool singleByte = std::none_of(field.begin(), field.end(), [](char c) { return c & 0x80; });
    for (const bool known : {false, singleByte}) {
        const FieldSpan unquoted = Unquoted(span, known);
        if (std::string_view(unquoted.text, static_cast<size_t>(unquoted.length)) != unquotedField)
            return std::string("Unquoted") + (known ? ", known single-byte," : "");
    }
    Text kept(field.size(), '\0');
    kept.resize(static_cast<size_t>(CopyWithout(span, &kept[0], [](char c) { return ::IsWhitespace(c); })));
    if (kept != RemoveWhitespace(field)) return "CopyWithout";
    for (const FileEncoding encoding : {FileEncoding::Ansi, FileEncoding::Utf8})
        if (!SameAmount(ReadAmount(Unquoted(span, false), encoding), Amount(field, encoding)))
            return encoding == FileEncoding::Ansi ? "ReadAmount" : "ReadAmount in UTF-8";
    if (!(UnquotedAmount(Unquoted(span, false)) == Amount(field).value)) return "UnquotedAmount";
    return "";
}

// The field numbers whose taking DifferenceFromReference compares, in
// order. Each taking walks the whole line again, so comparing every field
// of a line of many separators would cost the square of its length: every
// number from -1 to two past the last field is compared on a line of up to
// kEveryFieldUpTo fields; on a longer line the first kFieldRun fields, a
// run of kFieldRun more that starts where the line's bytes pick (so that
// different lines reach different fields), the last kFieldRun fields, and
// -1, 0 and the two past the end.
constexpr int kEveryFieldUpTo = 32;
constexpr int kFieldRun = 8;

inline std::vector<int> FieldNumbersToCompare(const Text& line, int count) {
    std::vector<int> numbers;
    numbers.reserve(static_cast<size_t>(std::min(count, kEveryFieldUpTo)) + 4);
    const auto add = [&numbers](int from, int to) {
        for (int n = std::max(from, numbers.empty() ? from : numbers.back() + 1); n <= to; ++n) numbers.push_back(n);
    };
    if (count <= kEveryFieldUpTo) {
        add(-1, count + 2);
        return numbers;
    }
    uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : line) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    const int runStart = kFieldRun + 1 + static_cast<int>(hash % static_cast<uint32_t>(count - 3 * kFieldRun));
    add(-1, kFieldRun);
    add(runStart, runStart + kFieldRun - 1);
    add(count - kFieldRun + 1, count + 2);
    return numbers;
}

// The first way in which the fast splitting, clean-up or record reading of
// `line` (zero-terminated, at most kMaxLineLength characters) differs from
// the reference, or the empty text: the count of fields, the taking of the
// fields FieldNumbersToCompare names, and the clean-up of every field whose
// text is not in `cleaned` (the texts an earlier line of the same input
// compared), which gains them. Records are read for the comma only; a line
// that is not a transaction line is also given to the reading that throws
// when `alsoByOperator` is set (exceptions cost the fuzz harness dear).
inline std::string DifferenceFromReference(const char* line, char separator, std::set<Text>& cleaned,
                                           bool alsoByOperator = true) {
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
    const Fields fields = SplitLine(text, separator);
    for (const int n : FieldNumbersToCompare(text, count)) {
        const bool exists = n >= 1 && static_cast<size_t>(n) <= fields.fields.size();
        static const std::optional<Text> kMissing;
        const std::optional<Text>& expected = exists ? fields.fields[static_cast<size_t>(n) - 1] : kMissing;
        const Text& expectedLine = exists && static_cast<size_t>(n) == fields.fields.size() ? fields.lineAfterLast : text;
        const auto differs = [&expected](const char* field) {
            return expected.has_value() != (field != nullptr) || (field && *expected != field);
        };
        const auto which = [n] { return " of field " + std::to_string(n); };
        LineBuffer cut;
        std::strcpy(cut, line);
        FieldBuffer buffer, peeked;
        if (differs(::GetField(cut, separator, n, buffer))) return "GetField" + which();
        if (expectedLine != cut) return "the line GetField leaves" + which();
        if (differs(::PeekField(line, separator, n, peeked))) return "PeekField" + which();
        if (n >= 1 && n <= LineSplit::kLocated) {
            FieldBuffer copied;
            if (differs(CopyField(split.Field(n), copied))) return "LineSplit's field" + which();
            const int cutAt = split.CutFor(n);
            if (std::string_view(line, cutAt >= 0 ? static_cast<size_t>(cutAt) : text.size()) != expectedLine)
                return "LineSplit's cut" + which();
        }
    }
    for (size_t i = 0; i < fields.fields.size(); ++i) {
        const std::optional<Text>& field = fields.fields[i];
        if (!field || !cleaned.insert(*field).second) continue;
        const std::string difference = CleanUpDifference(*field);
        if (!difference.empty()) return difference + " of field " + std::to_string(i + 1);
    }
    if (separator != ',') return "";
    RecordReadings readings(line);
    for (int layout = 0; layout <= 2; ++layout)
        if (!SameRecord(RecordReader(text, layout).Read(), readings.Read(layout, alsoByOperator)))
            return "the record read with layout " + std::to_string(layout);
    // The encodings read a line alike but for its no-break spaces.
    if (text.find('\xA0') == Text::npos) return "";
    for (int layout = 1; layout <= 2; ++layout)
        if (!SameRecord(RecordReader(text, layout, FileEncoding::Utf8).Read(),
                        readings.Read(layout, false, FileEncoding::Utf8)))
            return "the record read in UTF-8 with layout " + std::to_string(layout);
    return "";
}

inline std::string DifferenceFromReference(const char* line, char separator) {
    std::set<Text> cleaned;
    return DifferenceFromReference(line, separator, cleaned);
}

}  // namespace reference
