// Years below 100 are passed to the platform's date conversion unchanged, and
// the platform applies the OLE Automation two-digit year window: 0 to 29 mean
// 2000 to 2029, 30 to 99 mean 1930 to 1999. So 03NOV11 is 3 November 2011 and
// 03NOV45 is 3 November 1945, and 1/2/29 is 1 February 2029.
#include "FieldConversions.h"

#include "LineFields.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

namespace {

constexpr double kNoDate = 0.0;
constexpr double kLatestNonDate = 0.000005;  // 30 December 1899 and before
constexpr int kMaxDateParts = 3;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const char* SkipDigits(const char* p) {
    while (IsDigit(*p)) ++p;
    return p;
}

// End of the leading decimal number of `text` (digits, optional fraction and
// exponent), or `text` itself when it does not start with a number.
const char* DecimalNumberEnd(const char* text) {
    const char* p = SkipDigits(text);
    const bool wholeDigits = p != text;
    const char* fraction = p;
    if (*p == '.') fraction = SkipDigits(p + 1);
    if (!wholeDigits && fraction - p <= 1) return text;
    p = fraction;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        const char* exponentEnd = SkipDigits(exponent);
        if (exponentEnd != exponent) p = exponentEnd;
    }
    return p;
}

// The leading whole number of `text` in the manner of atoi: whitespace
// skipped, optional sign, digits; out-of-range values are clamped.
int LeadingInteger(const char* text) {
    while (IsSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long value = 0;
    for (; IsDigit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// Starts of the first parts of `text` split at `separator` the way strtok
// splits: runs of separators count as one, separators at the ends are
// ignored. Each part ends at the next separator, where LeadingInteger stops.
int SplitParts(const char* text, char separator, const char* (&parts)[kMaxDateParts]) {
    int count = 0;
    const char* p = text;
    while (count < kMaxDateParts) {
        while (*p == separator) ++p;
        if (!*p) break;
        parts[count++] = p;
        while (*p && *p != separator) ++p;
    }
    return count;
}

const char* SkipLeadingQuote(const char* text) { return *text == '"' ? text + 1 : text; }

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Converts into `date` only when the platform accepts the date; the members
// receive the low 16 bits of each number.
bool ConvertDate(const CalendarDate& calendar, DATE& date) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(calendar.year);
    time.wMonth = static_cast<WORD>(calendar.month);
    time.wDay = static_cast<WORD>(calendar.day);
    return platform::SystemTimeToDate(time, date);
}

}  // namespace

double ParseAmount(CString text) {
    StripQuotes(text);
    RemoveWhitespace(text);
    RemoveChars(text, ",-");
    const char* start = text.GetText();
    if (*start == '+') ++start;
    const char* end = DecimalNumberEnd(start);
    double amount = 0.0;
    if (end == start || std::from_chars(start, end, amount).ec != std::errc()) return 0.0;
    return std::isfinite(amount) ? amount : 0.0;
}

DATE ParseSlashDate(CString text) {
    DATE result = kNoDate;
    CalendarDate calendar;
    const char* parts[kMaxDateParts] = {};
    int count = SplitParts(text.GetText(), '/', parts);
    if (count > 0) calendar.day = LeadingInteger(SkipLeadingQuote(parts[0]));
    if (count > 1) calendar.month = LeadingInteger(parts[1]);
    if (count > 2) calendar.year = LeadingInteger(parts[2]);
    if (ConvertDate(calendar, result) && result >= kLatestNonDate) return result;

    count = SplitParts(text.GetText(), '-', parts);
    if (count > 0) calendar.year = LeadingInteger(SkipLeadingQuote(parts[0]));
    if (count > 1) calendar.month = LeadingInteger(parts[1]);
    if (count > 2) calendar.day = LeadingInteger(parts[2]);
    ConvertDate(calendar, result);
    return result;
}

DATE ParseMonthDate(const CString& text) {
    CString copy = text;
    ToUpper(RemoveDashes(copy));
    CalendarDate calendar;
    if (copy.GetLength() != 7 || !MonthFromAbbreviation(copy.Mid(2, 3), calendar.month)) return kNoDate;
    calendar.day = LeadingInteger(copy.Left(2).GetText());
    calendar.year = LeadingInteger(copy.Right(2).GetText());
    DATE result = kNoDate;
    ConvertDate(calendar, result);
    return result;
}

bool MonthFromAbbreviation(const CString& abbreviation, int& month) {
    static const CString months("JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC");
    const int position = months.Find(abbreviation.GetText());
    if (position < 0) return false;
    month = position / 3 + 1;
    return true;
}

CString& ToUpper(CString& text) {
    std::string upper = text.GetText();
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    text = upper.c_str();
    return text;
}

CString& RemoveDashes(CString& text) {
    RemoveChars(text, "-");
    return text;
}
