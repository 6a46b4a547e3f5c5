#include "Dates.h"

#include "MonthTable.h"
#include "MultibyteText.h"
#include "StatementFormat.h"

#include <climits>

namespace {

constexpr double kNoDate = 0.0;
constexpr int kMaxDateParts = 3;
constexpr int kLastTwoDigitYearOfThisCentury = 49;
constexpr int kLatestYear = 9999;
constexpr int kMonthDateLength = 7;

// The leading whole number of the text from `text` up to `end` in the manner
// of atoi: whitespace skipped, optional sign, digits; out-of-range values are
// clamped.
int LeadingInteger(const char* text, const char* end) {
    while (text < end && IsWhitespace(*text)) ++text;
    const bool negative = text < end && *text == '-';
    if (text < end && (*text == '-' || *text == '+')) ++text;
    long long value = 0;  // past INT_MAX it only has to stay there: it is clamped
    for (; text < end && IsDigit(*text); ++text)
        if (value <= INT_MAX) value = value * 10 + (*text - '0');
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

struct Part {
    const char* start;
    const char* end;
};

// Whether a year part gives a year: the number that starts it, after any
// whitespace. A part that starts otherwise (a letter, a sign) has no year,
// whatever digits follow.
bool StartsWithNumber(const Part& part) {
    const char* p = part.start;
    while (p < part.end && IsWhitespace(*p)) ++p;
    return p < part.end && IsDigit(*p);
}

// A first part of exactly four digits after a double quote at its very
// start and any whitespace (as the year is read): the year of a
// year-month-day date (2011-11-03, or padded, " 2011-11-03"). A dashed date
// that starts otherwise (02-10-26, a day-month-year date saved by a
// spreadsheet) is no date of that form.
bool IsFourDigitYear(const Part& part) {
    const char* start = part.start < part.end && *part.start == '"' ? part.start + 1 : part.start;
    while (start < part.end && IsWhitespace(*start)) ++start;
    if (part.end - start != 4) return false;
    for (const char* p = start; p < part.end; ++p)
        if (!IsDigit(*p)) return false;
    return true;
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

// The leading whole number of two characters: two digits are read at once.
int TwoCharacterNumber(const char* text) {
    if (IsDigit(text[0]) && IsDigit(text[1])) return (text[0] - '0') * 10 + (text[1] - '0');
    return LeadingInteger(text, text + 2);
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
    bool yearWritten = false;  // the year part starts with a number
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

// The date as the statements write it, dd/mm/yyyy, read at once.
bool WrittenSlashDate(const char* t, CalendarDate& calendar) {
    if (!(IsDigit(t[0]) && IsDigit(t[1]) && t[2] == '/' && IsDigit(t[3]) && IsDigit(t[4]) && t[5] == '/' &&
          IsDigit(t[6]) && IsDigit(t[7]) && IsDigit(t[8]) && IsDigit(t[9]) && t[10] == '\0'))
        return false;
    calendar.day = (t[0] - '0') * 10 + (t[1] - '0');
    calendar.month = (t[3] - '0') * 10 + (t[4] - '0');
    calendar.year = ((t[6] - '0') * 10 + (t[7] - '0')) * 100 + (t[8] - '0') * 10 + (t[9] - '0');
    calendar.yearWritten = true;
    return true;
}

// The common slash date, runs of one to four digits with a slash between
// each two and nothing else (3/11/2011, 03/11/2011), read in one pass: its
// parts are the runs, and their numbers are what the split at '/' and the
// reading of each part find. False for any other text.
bool QuickSlashDate(const char* text, CalendarDate& calendar) {
    constexpr int kMostDigits = 4;
    int parts[kMaxDateParts] = {};
    int part = 0, digits = 0, value = 0;
    for (const char* p = text;; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
        if (digit < 10) {
            if (++digits > kMostDigits) return false;
            value = value * 10 + static_cast<int>(digit);
            continue;
        }
        if ((*p != '/' && *p != '\0') || digits == 0) return false;
        parts[part++] = value;
        if (*p == '\0' || part == kMaxDateParts) {
            if (*p != '\0' || part != kMaxDateParts) return false;
            break;
        }
        value = 0;
        digits = 0;
    }
    calendar.day = parts[0];
    calendar.month = parts[1];
    calendar.year = parts[2];
    calendar.yearWritten = true;
    return true;
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

DATE ParseSlashDate(const char* text) {
    CalendarDate calendar;
    if (WrittenSlashDate(text, calendar) || QuickSlashDate(text, calendar))
        return ConvertDate(calendar);  // a text with a slash is read no other way
    Part parts[kMaxDateParts] = {};
    int count = SplitParts(text, '/', parts);
    if (count > 0) calendar.day = FirstPartNumber(parts[0]);
    if (count > 1) calendar.month = PartNumber(parts[1]);
    if (count > 2) {
        calendar.year = PartNumber(parts[2]);
        calendar.yearWritten = StartsWithNumber(parts[2]);
    }
    const DATE result = ConvertDate(calendar);
    if (result != kNoDate || FindCharacter(text, '/')) return result;

    count = SplitParts(text, '-', parts);
    if (count == 0 || !IsFourDigitYear(parts[0])) return kNoDate;
    calendar.year = FirstPartNumber(parts[0]);
    calendar.yearWritten = true;
    if (count > 1) calendar.month = PartNumber(parts[1]);
    if (count > 2) calendar.day = PartNumber(parts[2]);
    return ConvertDate(calendar);
}

DATE ParseMonthDate(const char* text) {
    char date[kMonthDateLength + 1];
    int length = 0;
    for (const char* p = text; *p; ++p) {
        if (*p == '-') continue;
        if (length == kMonthDateLength) return kNoDate;
        date[length++] = UpperAscii(*p);
    }
    if (length != kMonthDateLength) return kNoDate;
    const char abbreviation[] = {date[2], date[3], date[4], '\0'};
    CalendarDate calendar;
    if (!MonthOfAbbreviation(abbreviation, calendar.month)) return kNoDate;
    calendar.day = TwoCharacterNumber(date);
    calendar.year = TwoCharacterNumber(date + 5);
    calendar.yearWritten = StartsWithNumber({date + 5, date + 7});
    return ConvertDate(calendar);
}
