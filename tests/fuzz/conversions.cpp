// Fuzzes the amount and date conversions: ParseAmount and ReadAmount (in
// both encodings), ParseSlashDate, ParseMonthDate, MonthFromAbbreviation,
// ToUpper and RemoveDashes over the input as one field text (up to its
// first NUL byte).
#include "Amounts.h"
#include "FieldConversions.h"
#include "FuzzSupport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// OLE dates of 31 December 1949 and 31 December 2049. A seven-character
// date's two-digit year lies in 1950 to 2049, and its day (0 to 31) can
// only roll back into the last day of the year before.
constexpr DATE kEarliestMonthDate = 18263;
constexpr DATE kLatestMonthDate = 54788;

// Whether the text holds a byte from `low` to `high`.
bool HasByteIn(const CString& text, char low, char high) {
    const std::string bytes = text.GetText();
    return std::any_of(bytes.begin(), bytes.end(), [=](char c) { return c >= low && c <= high; });
}

// An amount has a digit and at most 15; a field without a digit is empty
// or refused, never an amount; the encodings read alike a field without the
// byte A0, the only byte of a no-break space in either.
void CheckAmount(const CString& text) {
    const double amount = ParseAmount(text);
    FUZZ_CHECK(std::isfinite(amount));
    FUZZ_CHECK(amount >= 0);  // never negative
    if (amount > 0) FUZZ_CHECK(HasByteIn(text, '0', '9'));
    const FieldSpan field{text.GetText(), text.GetLength()};
    const WrittenAmount ansi = ReadAmount(field, FileEncoding::Ansi);
    const WrittenAmount utf8 = ReadAmount(field, FileEncoding::Utf8);
    for (const WrittenAmount& read : {ansi, utf8}) {
        const bool isAmount = read.kind == WrittenAmount::Kind::Amount;
        FUZZ_CHECK(isAmount || (read.Value() == 0 && read.digits == 0 && !read.negative));
        if (!isAmount) continue;
        FUZZ_CHECK(HasByteIn(text, '0', '9'));
        FUZZ_CHECK(read.digits < 1000000000000000u && read.fractionDigits >= 0 && read.fractionDigits <= 15);
        FUZZ_CHECK(std::isfinite(read.Value()) && read.Value() >= 0);
    }
    if (!HasByteIn(text, '\xA0', '\xA0'))
        FUZZ_CHECK(ansi.kind == utf8.kind && ansi.digits == utf8.digits && ansi.negative == utf8.negative);
    if (!HasByteIn(text, '0', '9')) FUZZ_CHECK(ansi.kind != WrittenAmount::Kind::Amount);
}

// A date read from a text without a slash is a year-month-day date whose
// first part (after a double quote at its start and any whitespace) is four
// digits.
void CheckSlashDate(const CString& text) {
    const DATE date = ParseSlashDate(text);
    FUZZ_CHECK(std::isfinite(date));
    const std::string written = text.GetText();
    if (date == 0 || written.find('/') != std::string::npos) return;
    size_t start = written.find_first_not_of('-');
    FUZZ_CHECK(start != std::string::npos);
    if (written[start] == '"') ++start;
    start = std::min(written.find_first_not_of(" \t\n\v\f\r", start), written.size());
    const std::string year = written.substr(start, written.find('-', start) - start);
    FUZZ_CHECK(year.size() == 4 && std::all_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

// Letter case and dashes do not matter to a seven-character date.
void CheckMonthDate(const CString& text) {
    const DATE date = ParseMonthDate(text);
    FUZZ_CHECK(std::isfinite(date));
    if (date != 0) FUZZ_CHECK(date >= kEarliestMonthDate && date <= kLatestMonthDate);
    CString upper = text;
    FUZZ_CHECK(ParseMonthDate(ToUpper(upper)) == date);
    CString undashed = text;
    FUZZ_CHECK(ParseMonthDate(RemoveDashes(undashed)) == date);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceDiagnostics();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const CString text(input.c_str());

    CheckAmount(text);
    CheckSlashDate(text);
    CheckMonthDate(text);

    int month = 0;
    if (MonthFromAbbreviation(text, month)) FUZZ_CHECK(month >= 1 && month <= 12);

    CString upper = text;
    ToUpper(upper);
    FUZZ_CHECK(upper.GetLength() == text.GetLength());
    FUZZ_CHECK(!HasByteIn(upper, 'a', 'z'));
    CString undashed = text;
    RemoveDashes(undashed);
    FUZZ_CHECK(undashed.Find('-') < 0);
    return 0;
}
