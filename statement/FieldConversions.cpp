// Years below 100 get their century here, by one fixed rule, before the
// platform converts the date: 0 to 49 are 2000 to 2049, 50 to 99 are 1950 to
// 1999. So 03NOV11 is 3 November 2011, 03NOV49 is 3 November 2049 and
// 03NOV50 is 3 November 1950. The platforms' own two-digit windows differ
// (Windows reads 30 as 1930 by default, Wine as 2030), so leaving it to them
// would make a statement's dates depend on where it is imported.
//
// A date is the calendar date the text writes, or no date (0): the day,
// month and year are checked here before the platform sees them, because the
// platform's conversion rolls impossible dates over into plausible wrong
// ones (31/02/2026 would become 3 March 2026). So a day 0, a month 0 or
// above 12, a day past the end of its month (leap years counted), a year
// part without digits, a year above 9999, a negative number, and any date
// on or before 30 December 1899 give 0. The year-month-day reading is for
// texts written that way (2011-11-03, without any slash); a text with a
// slash is read day/month/year only.
//
// Amounts lose every minus sign, so they are never negative, except the
// sign of an exponent: 1e-7 is 0.0000001 (too small to count as an amount),
// not 10,000,000.
#include "FieldConversions.h"

#include "LineFields.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr double kNoDate = 0.0;
constexpr int kMaxDateParts = 3;
constexpr int kLastTwoDigitYearOfThisCentury = 49;
constexpr int kLatestYear = 9999;
constexpr char kMonthAbbreviations[] = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";

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

// The leading whole number of the text from `text` up to `end` in the manner
// of atoi: whitespace skipped, optional sign, digits; out-of-range values are
// clamped.
int LeadingInteger(const char* text, const char* end) {
    while (text < end && IsSpace(*text)) ++text;
    const bool negative = text < end && *text == '-';
    if (text < end && (*text == '-' || *text == '+')) ++text;
    long long value = 0;
    for (; text < end && IsDigit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

struct Part {
    const char* start;
    const char* end;
};

bool HasDigit(const Part& part) {
    for (const char* p = part.start; p < part.end; ++p)
        if (IsDigit(*p)) return true;
    return false;
}

// The first parts of `text` split at `separator` the way strtok splits:
// runs of separators count as one, separators at the ends are ignored.
int SplitParts(const char* text, char separator, Part (&parts)[kMaxDateParts]) {
    int count = 0;
    const char* p = text;
    while (count < kMaxDateParts) {
        while (*p == separator) ++p;
        if (!*p) break;
        const char* start = p;
        while (*p && *p != separator) ++p;
        parts[count++] = {start, p};
    }
    return count;
}

int PartNumber(const Part& part) { return LeadingInteger(part.start, part.end); }

// The number of a first part, read after a double quote at its very start.
int FirstPartNumber(const Part& part) {
    return LeadingInteger(part.start < part.end && *part.start == '"' ? part.start + 1 : part.start, part.end);
}

int WithCentury(int year) {
    if (year < 0 || year > 99) return year;
    return year <= kLastTwoDigitYearOfThisCentury ? 2000 + year : 1900 + year;
}

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool yearWritten = false;  // the year part has digits
};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// A real date after 30 December 1899, the year already given its century.
bool IsCalendarDate(int year, int month, int day) {
    if (year < 1899 || year > kLatestYear || month < 1 || month > 12) return false;
    if (day < 1 || day > DaysInMonth(year, month)) return false;
    return year > 1899 || (month == 12 && day == 31);
}

// The DATE of the calendar date, or no date when it is not a real one.
DATE ConvertDate(const CalendarDate& calendar) {
    const int year = WithCentury(calendar.year);
    if (!calendar.yearWritten || !IsCalendarDate(year, calendar.month, calendar.day)) return kNoDate;
    return DateFromCalendar(year, calendar.month, calendar.day);
}

bool IsExponentMark(char c) { return c == 'e' || c == 'E'; }

// Drops every minus sign but the sign of an exponent (one directly after the
// exponent mark).
void RemoveMinusSigns(CString& text) {
    const char* source = text.GetText();
    if (!std::strchr(source, '-')) return;
    std::string kept;
    for (const char* p = source; *p; ++p)
        if (*p != '-' || (!kept.empty() && IsExponentMark(kept.back()))) kept += *p;
    text = kept.c_str();
}

}  // namespace

// Days from 30 December 1899, counted in 400-year eras of the Gregorian
// calendar from 1 March of year 0 (so that the leap day ends a year).
DATE DateFromCalendar(int year, int month, int day) {
    constexpr long kDaysPerEra = 146097;
    constexpr long kEraStartToOleEpoch = 693899;  // 1 March 0000 to 30 December 1899
    const long shiftedYear = year - (month <= 2 ? 1 : 0);
    const long era = shiftedYear / 400;
    const long yearOfEra = shiftedYear - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<DATE>(era * kDaysPerEra + dayOfEra - kEraStartToOleEpoch);
}

double ParseAmount(CString text) {
    StripQuotes(text);
    RemoveWhitespace(text);
    RemoveChars(text, ",");
    RemoveMinusSigns(text);
    const char* start = text.GetText();
    if (*start == '+') ++start;
    const char* end = DecimalNumberEnd(start);
    double amount = 0.0;
    if (end == start || std::from_chars(start, end, amount).ec != std::errc()) return 0.0;
    return std::isfinite(amount) ? amount : 0.0;
}

DATE ParseSlashDate(CString text) {
    CalendarDate calendar;
    Part parts[kMaxDateParts] = {};
    int count = SplitParts(text.GetText(), '/', parts);
    if (count > 0) calendar.day = FirstPartNumber(parts[0]);
    if (count > 1) calendar.month = PartNumber(parts[1]);
    if (count > 2) {
        calendar.year = PartNumber(parts[2]);
        calendar.yearWritten = HasDigit(parts[2]);
    }
    const DATE result = ConvertDate(calendar);
    if (result != kNoDate || text.Find('/') >= 0) return result;

    count = SplitParts(text.GetText(), '-', parts);
    if (count > 0) {
        calendar.year = FirstPartNumber(parts[0]);
        calendar.yearWritten = HasDigit(parts[0]);
    }
    if (count > 1) calendar.month = PartNumber(parts[1]);
    if (count > 2) calendar.day = PartNumber(parts[2]);
    return ConvertDate(calendar);
}

DATE ParseMonthDate(const CString& text) {
    CString copy = text;
    ToUpper(RemoveDashes(copy));
    CalendarDate calendar;
    if (copy.GetLength() != 7 || !MonthFromAbbreviation(copy.Mid(2, 3), calendar.month)) return kNoDate;
    const char* digits = copy.GetText();
    calendar.day = LeadingInteger(digits, digits + 2);
    calendar.year = LeadingInteger(digits + 5, digits + 7);
    calendar.yearWritten = HasDigit({digits + 5, digits + 7});
    return ConvertDate(calendar);
}

// The table is a constant: nothing is built on first use, so any number of
// threads may look months up at once.
bool MonthFromAbbreviation(const CString& abbreviation, int& month) {
    const char* found = platform::FindMultibyteText(kMonthAbbreviations, abbreviation.GetText());
    if (!found) return false;
    month = static_cast<int>(found - kMonthAbbreviations) / 3 + 1;
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
