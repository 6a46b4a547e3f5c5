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
// part that does not start with a digit (after whitespace: 03/11/x2011 and
// 03NOVX1 have no year), a year above 9999, a negative number, and any date
// on or before 30 December 1899 give 0. The year-month-day reading is for
// texts written that way: without any slash, and with a first part of
// exactly four digits (2011-11-03). Any other dashed text is no date, so
// that 02-10-26 (2 October 2026 as a spreadsheet saves it) never becomes 26
// October 2002; a text with a slash is read day/month/year only.
//
// Amounts lose every minus sign, so they are never negative, except the
// sign of an exponent: 1e-7 is 0.0000001 (too small to count as an amount),
// not 10,000,000.
#include "FieldConversions.h"

#include "LineFields.h"
#include "MultibyteText.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr double kNoDate = 0.0;
constexpr int kMaxDateParts = 3;
constexpr int kLastTwoDigitYearOfThisCentury = 49;
constexpr int kLatestYear = 9999;
constexpr char kMonthAbbreviations[] = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
constexpr int kMonthDateLength = 7;

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
    while (p < part.end && IsSpace(*p)) ++p;
    return p < part.end && IsDigit(*p);
}

// A first part of exactly four digits after a double quote at its very
// start: the year of a year-month-day date (2011-11-03). A dashed date that
// starts otherwise (02-10-26, a day-month-year date saved by a spreadsheet)
// is no date of that form.
bool IsFourDigitYear(const Part& part) {
    const char* start = part.start < part.end && *part.start == '"' ? part.start + 1 : part.start;
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

bool IsExponentMark(char c) { return c == 'e' || c == 'E'; }

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

// The field's bytes to `out`, terminated, without whitespace, commas and
// every minus sign but the sign of an exponent (one directly after the
// exponent mark). `out` holds as many bytes as the field and its terminator.
void KeepNumberCharacters(FieldSpan field, char* out) {
    char* const start = out;
    for (const char *p = field.text, *end = field.text + field.length; p != end; ++p) {
        const char c = *p;
        if (IsWhitespace(c) || c == ',') continue;
        if (c == '-' && !(out != start && IsExponentMark(out[-1]))) continue;
        *out++ = c;
    }
    *out = '\0';
}

// The common amount, digits with at most a point among the characters the
// clean-up drops, read in one pass over the field: false when it needs the
// general reading (an exponent, or too many digits) or where the quotient
// below is not exact. Where double arithmetic is done in double precision
// (not on an x87, which rounds twice; both builds use SSE2), a whole number
// below 2^53 and a power of ten up to 1e22 are exact doubles, and their
// quotient, rounded once to nearest, is the double nearest the decimal
// number, which is what from_chars gives.
#if FLT_EVAL_METHOD == 0

// True when the processor rounds to nearest, as it does unless a program
// asks otherwise (the test fast_float uses): 1 + FLT_MIN and 1 - FLT_MIN
// both round to 1 only then.
bool RoundsToNearest() {
    static volatile float smallest = FLT_MIN;
    const float tiny = smallest;
    return tiny + 1.0f == 1.0f - tiny;
}

bool QuickAmount(const char* p, const char* end, double& amount) {
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr int kMostDigits = 15;  // any 15 digits make a whole number below 2^53
    constexpr int kMostFractionDigits = sizeof kPowersOfTen / sizeof kPowersOfTen[0] - 1;
    const auto dropped = [](char c) { return IsWhitespace(c) || c == ',' || c == '-'; };  // before any exponent mark
    while (p != end && dropped(*p)) ++p;
    if (p != end && *p == '+') ++p;
    std::uint64_t whole = 0;  // may wrap past kMostDigits digits, which are refused
    int digits = 0, digitsBeforePoint = -1;
    for (; p != end; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
        if (digit < 10) {
            whole = whole * 10 + digit;
            ++digits;
        } else if (*p == ',') {  // the most common of the others: a thousands separator
            continue;
        } else if (*p == '.' && digitsBeforePoint < 0) {
            digitsBeforePoint = digits;
        } else if (IsExponentMark(*p)) {
            return false;
        } else if (!dropped(*p)) {
            break;
        }
    }
    const int fractionDigits = digitsBeforePoint < 0 ? 0 : digits - digitsBeforePoint;
    if (digits > kMostDigits || fractionDigits > kMostFractionDigits || !RoundsToNearest()) return false;
    amount = static_cast<double>(whole) / kPowersOfTen[fractionDigits];
    return true;
}

#else

bool QuickAmount(const char*, const char*, double&) { return false; }

#endif

// The leading decimal number of the cleaned text (an optional plus sign,
// digits, fraction, exponent), or 0.
double LeadingAmount(const char* start) {
    if (*start == '+') ++start;
    const char* end = DecimalNumberEnd(start);
    double amount = 0.0;
    if (end == start || std::from_chars(start, end, amount).ec != std::errc()) return 0.0;
    return std::isfinite(amount) ? amount : 0.0;
}

// The amount read the general way: the field cleaned up into a buffer of
// its own, then its leading decimal number. Kept apart (not inlined), so
// that the quick reading needs no room for the buffer.
[[gnu::noinline]] double CleanedAmount(FieldSpan field) {
    TextBuffer kept(static_cast<size_t>(field.length));
    KeepNumberCharacters(field, kept.Get());
    return LeadingAmount(kept.Get());
}

constexpr int kMonths = 12;

// Three characters in one number, to be compared at once.
constexpr std::uint32_t ThreeLetters(const char* three) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(three[0]) | static_cast<unsigned char>(three[1]) << 8 |
                                      static_cast<unsigned char>(three[2]) << 16);
}

// The twelve abbreviations as numbers, and where each stands in a table of
// sixteen slots: the slot of a number is the top four bits of its product
// with kMonthHash, which gives each abbreviation a slot of its own.
constexpr std::uint32_t kMonthHash = 26576;
constexpr int kMonthSlots = 16;

constexpr int MonthSlot(std::uint32_t letters) { return static_cast<int>(static_cast<std::uint32_t>(letters * kMonthHash) >> 28); }

struct MonthTable {
    std::uint32_t letters[kMonths];
    int monthInSlot[kMonthSlots];  // 0: no month
};

constexpr MonthTable MakeMonthTable() {
    MonthTable table{};
    for (int index = 0; index < kMonths; ++index) {
        table.letters[index] = ThreeLetters(kMonthAbbreviations + 3 * index);
        table.monthInSlot[MonthSlot(table.letters[index])] = index + 1;
    }
    return table;
}

constexpr MonthTable kMonthTable = MakeMonthTable();

constexpr bool EveryMonthHasItsSlot() {
    for (int index = 0; index < kMonths; ++index)
        if (kMonthTable.monthInSlot[MonthSlot(kMonthTable.letters[index])] != index + 1) return false;
    return true;
}
static_assert(EveryMonthHasItsSlot(), "kMonthHash must give each abbreviation a slot of its own");

// Month number of the abbreviation (zero-terminated): where it first occurs
// in the table, divided by 3. Each of the twelve abbreviations first occurs
// where it stands in the table, so they are looked up as they stand before
// the table is searched.
bool MonthOf(const char* abbreviation, int& month) {
    if (abbreviation[0] != '\0' && abbreviation[1] != '\0' && abbreviation[2] != '\0' && abbreviation[3] == '\0') {
        const std::uint32_t written = ThreeLetters(abbreviation);
        const int slotted = kMonthTable.monthInSlot[MonthSlot(written)];
        if (slotted != 0 && kMonthTable.letters[slotted - 1] == written) {
            month = slotted;
            return true;
        }
    }
    const char* found = FindText(kMonthAbbreviations, abbreviation);
    if (!found) return false;
    month = static_cast<int>(found - kMonthAbbreviations) / 3 + 1;
    return true;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

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
    return UnquotedAmount({text.GetText(), text.GetLength()});
}

double UnquotedAmount(FieldSpan field) {
    double amount = 0.0;
    return QuickAmount(field.text, field.text + field.length, amount) ? amount : CleanedAmount(field);
}

DATE ParseSlashDate(CString text) { return ParseSlashDate(text.GetText()); }

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

DATE ParseMonthDate(const CString& text) { return ParseMonthDate(text.GetText()); }

// Dashes go and letters a to z become capitals before the length is taken.
DATE ParseMonthDate(const char* text) {
    char date[kMonthDateLength + 1];
    int length = 0;
    for (const char* p = text; *p; ++p) {
        if (*p == '-') continue;
        if (length == kMonthDateLength) return kNoDate;
        date[length++] = Upper(*p);
    }
    if (length != kMonthDateLength) return kNoDate;
    const char abbreviation[] = {date[2], date[3], date[4], '\0'};
    CalendarDate calendar;
    if (!MonthOf(abbreviation, calendar.month)) return kNoDate;
    calendar.day = TwoCharacterNumber(date);
    calendar.year = TwoCharacterNumber(date + 5);
    calendar.yearWritten = StartsWithNumber({date + 5, date + 7});
    return ConvertDate(calendar);
}

// The table is a constant: nothing is built on first use, so any number of
// threads may look months up at once.
bool MonthFromAbbreviation(const CString& abbreviation, int& month) { return MonthOf(abbreviation.GetText(), month); }

CString& ToUpper(CString& text) {
    std::string upper = text.GetText();
    for (char& c : upper) c = Upper(c);
    text = upper.c_str();
    return text;
}

CString& RemoveDashes(CString& text) {
    RemoveChars(text, "-");
    return text;
}
