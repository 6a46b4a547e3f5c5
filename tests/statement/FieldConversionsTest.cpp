#include "FieldConversions.h"

#include "Amounts.h"
#include "Dates.h"
#include "StatementTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <oleauto.h>
#endif

// OLE Automation dates used below (days since 30 December 1899).
constexpr DATE k3Nov2011 = 40850, k1Feb2011 = 40575, k31Dec2011 = 40908, k3Nov2029 = 47425, k3Nov1999 = 36467,
               k1Jan2000 = 36526, k3Nov2030 = 47790, k3Nov2049 = 54730, k3Nov1950 = 18570, k29Feb2024 = 45351,
               k31Dec9999 = 2958465, k3Nov2001 = 37198;

TEST(FieldConversions, ParseAmount) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {{"1,234.56", 1234.56}, {"-12.50", 12.5}, {"1 234 . 56", 1234.56}, {"", 0}, {"   ", 0}, {"\"\"", 0},
                 {"$12.50", 0}, {"\"1,234.56\"", 1234.56}, {"+7.25", 7.25}, {".5", 0.5}, {"0.000001", 0.000001},
                 // not an amount as the bank writes one: no amount, never a part of the text read as one
                 {"12.50GBP", 0}, {"++7", 0}, {"5.", 0}, {".", 0}, {"12..5", 0}, {"1e3", 0}, {"2.5E+2", 0},
                 {"1e-7", 0}, {"e5", 0}, {"0x1A", 0}, {"inf", 0}, {"INFINITY", 0}, {"nan", 0}, {"1e999", 0},
                 {"1-5", 0}, {"\"-1,234.56\"\r", 0}};  // quotes are stripped before whitespace goes
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.text));
        EXPECT_DOUBLE_EQ(c.expected, ParseAmount(c.text));
    }
}

// Only a field written as the bank writes an amount reads as one; what
// other programs write (a decimal comma, a credit mark, an exponent, more
// digits than a double holds exactly) is refused, not read in part. A
// field of blanks, signs and quotes is empty.
TEST(FieldConversions, AmountIsReadOnlyAsTheBankWritesIt) {
    using Kind = WrittenAmount::Kind;
    const struct {
        const char* text;
        FileEncoding encoding;
        Kind kind;
        double value;
        bool negative;
    } cases[] = {
        {"1,234.56", FileEncoding::Ansi, Kind::Amount, 1234.56, false},
        {"1,234,567.00", FileEncoding::Ansi, Kind::Amount, 1234567, false},
        {"1234567.00", FileEncoding::Ansi, Kind::Amount, 1234567, false},
        {"-12.50", FileEncoding::Ansi, Kind::Amount, 12.5, true},
        {"12.50-", FileEncoding::Ansi, Kind::Amount, 12.5, true},
        {"+12.50", FileEncoding::Ansi, Kind::Amount, 12.5, false},
        {"12 50.00", FileEncoding::Ansi, Kind::Amount, 1250, false},
        {" - 1,234.56 ", FileEncoding::Ansi, Kind::Amount, 1234.56, true},
        {"1\xA0" "250.00", FileEncoding::Ansi, Kind::Amount, 1250, false},
        {"1\xC2\xA0" "250.00", FileEncoding::Utf8, Kind::Amount, 1250, false},
        {"123456789012345", FileEncoding::Ansi, Kind::Amount, 123456789012345, false},
        {"0.00", FileEncoding::Ansi, Kind::Amount, 0, false},
        {"", FileEncoding::Ansi, Kind::Empty, 0, false},
        {" - ", FileEncoding::Ansi, Kind::Empty, 0, false},
        {"\"\"-", FileEncoding::Ansi, Kind::Empty, 0, false},
        {"\xA0", FileEncoding::Ansi, Kind::Empty, 0, false},
        {"82,40", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1.250,00", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1,2345.00", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1234,567.00", FileEncoding::Ansi, Kind::Refused, 0, false},
        {",123.00", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1.23,4", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"50.00 CR", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"50.00 DR", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1e308", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1.23E+03", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"12345678901234567890123456789012", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1234567890123456", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"inf", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"-12.50-", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"12-50", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"12.50+", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"12.", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1.2.3", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"12\"50", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"\xA3" "82.40", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"N/A", FileEncoding::Ansi, Kind::Refused, 0, false},
        {"1\xC2\xA0" "250.00", FileEncoding::Ansi, Kind::Refused, 0, false},  // A with circumflex, then the space
        {"1\xA0" "250.00", FileEncoding::Utf8, Kind::Refused, 0, false},       // not UTF-8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.text) + (c.encoding == FileEncoding::Utf8 ? " in UTF-8" : ""));
        const WrittenAmount amount = ReadAmount({c.text, static_cast<int>(std::strlen(c.text))}, c.encoding);
        EXPECT_EQ(c.kind, amount.kind);
        EXPECT_EQ(c.value, amount.Value());
        EXPECT_EQ(c.negative, amount.negative);
    }
}

TEST(FieldConversions, ParseSlashDate) {
    const struct {
        const char* text;
        DATE expected;
    } cases[] = {{"03/11/2011", k3Nov2011}, {"3/11/2011", k3Nov2011}, {"2011-11-03", k3Nov2011},
                 {"\"03/11/2011", k3Nov2011}, {"\"2011-11-03", k3Nov2011}, {"03//11//2011", k3Nov2011},
                 {"/03/11/2011/", k3Nov2011}, {"03/11/2011/99", k3Nov2011}, {" 3/ 11/ 2011", k3Nov2011},
                 {"31/12/2011", k31Dec2011}, {"1/2/11", k1Feb2011}, {"03/11/29", k3Nov2029}, {"31/12/1899", 1},
                 {"29/02/2024", k29Feb2024}, {"31/12/9999", k31Dec9999},
                 // not a calendar date: no date, never the neighbouring one the platform would roll over to
                 {"32/11/2011", 0}, {"3/13/2011", 0}, {"2011-13-03", 0}, {"31/02/2026", 0}, {"29/02/2023", 0},
                 {"31/04/2026", 0}, {"00/00/00", 0}, {"0/11/2011", 0}, {"3/0/2011", 0}, {"", 0},
                 {"30/12/1899", 0}, {"1/1/1800", 0}, {"1/1/1800-13", 0}, {"03/11/67547", 0}, {"03/11/12011", 0},
                 {"15/06/67547", 0}, {"-3/11/2011", 0}, {"3/11/-11", 0}, {"03/11", 0}, {"03/11/", 0},
                 {"2011-02-30", 0}, {"03-11-2011", 0},
                 // each part ends at its separator: the first part is a space, so there is no year
                 {" -11-03", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, ParseSlashDate(c.text));
    }
}

TEST(FieldConversions, ParseMonthDate) {
    const struct {
        const char* text;
        DATE expected;
    } cases[] = {{"03NOV11", k3Nov2011}, {"03-nov-11", k3Nov2011}, {"03Nov11", k3Nov2011},
                 {"0-3-N-O-V-1-1", k3Nov2011}, {"31DEC11", k31Dec2011}, {"01FEB11", k1Feb2011},
                 {"03NOV29", k3Nov2029}, {"03NOV99", k3Nov1999}, {"01JAN00", k1Jan2000}, {"3NOV11", 0},
                 {"03NOV2011", 0}, {"03XYZ11", 0}, {"03 NOV 11", 0}, {"", 0}, {"32NOV11", 0},
                 {"29FEB24", k29Feb2024}, {"31APR26", 0}, {"00JAN26", 0}, {"29FEB23", 0}, {"30FEB24", 0},
                 {"03NOV  ", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, ParseMonthDate(c.text));
    }
}

// A spreadsheet writes 02/10/2026 back as 02-10-26: read as year-month-day
// it would be 26 October 2002. Only a first part of exactly four digits (a
// leading quote skipped) is a year there; any other dashed date is no date.
TEST(FieldConversions, DashedDateIsYearMonthDayOnlyAfterAFourDigitYear) {
    const struct {
        const char* text;
        DATE expected;
    } cases[] = {{"2011-11-03", k3Nov2011}, {"\"2011-11-03", k3Nov2011}, {"2011-11-03 ", k3Nov2011},
                 {"49-11-03", 0}, {"03-11-11", 0}, {"02-10-26", 0}, {"\"02-10-26", 0}, {"11-11-03", 0},
                 {"011-11-03", 0}, {"02011-11-03", 0}, {" 2011-11-03", k3Nov2011}, {"\t2011-11-03", k3Nov2011},
                 {"\" 2011-11-03", k3Nov2011}, {" 02011-11-03", 0}, {" 211-11-03", 0}, {"+2011-11-03", 0},
                 {"2011x-11-03", 0}, {"\"\"2011-11-03", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, ParseSlashDate(c.text));
    }
}

// The year is the number that starts the year part, after any whitespace: a
// year part that starts with anything else has no year, whatever digits
// follow it, so 03/11/x2011 and 03NOVX1 give no date (skipping the letter to
// the digits would make them 3 November of a year the file does not say).
TEST(FieldConversions, YearIsTheNumberThatStartsTheYearPart) {
    const struct {
        const char* text;
        DATE (*parse)(const char*);
        DATE expected;
    } cases[] = {{"03/11/2011x", ParseSlashDate, k3Nov2011}, {"03/11/ 2011", ParseSlashDate, k3Nov2011},
                 {"03/11/\t11", ParseSlashDate, k3Nov2011}, {"03/11/x2011", ParseSlashDate, 0},
                 {"03/11/+2011", ParseSlashDate, 0}, {"03/11/ x11", ParseSlashDate, 0},
                 {"03/11/.11", ParseSlashDate, 0}, {"03NOV 1", ParseMonthDate, k3Nov2001},
                 {"03NOV1X", ParseMonthDate, k3Nov2001}, {"03NOVX1", ParseMonthDate, 0},
                 {"03NOV+1", ParseMonthDate, 0}, {"03NOV\"1", ParseMonthDate, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, c.parse(c.text));
    }
}

// Years below 100 take their century from one rule, the same on every
// platform: 0 to 49 are 2000 to 2049, 50 to 99 are 1950 to 1999.
TEST(FieldConversions, TwoDigitYearsTakeTheirCenturyFromOneRule) {
    EXPECT_EQ(k3Nov2029, ParseMonthDate("03NOV29"));
    EXPECT_EQ(k3Nov2030, ParseMonthDate("03NOV30"));
    EXPECT_EQ(k3Nov2049, ParseMonthDate("03NOV49"));
    EXPECT_EQ(k3Nov1950, ParseMonthDate("03NOV50"));
    EXPECT_EQ(k3Nov2030, ParseSlashDate("03/11/30"));
    EXPECT_EQ(k3Nov2049, ParseSlashDate("03/11/49"));
    EXPECT_EQ(k3Nov1950, ParseSlashDate("03/11/50"));
}

TEST(FieldConversions, MonthFromAbbreviation) {
    const struct {
        const char* abbreviation;
        bool known;
        int month;
    } cases[] = {{"JAN", true, 1}, {"FEB", true, 2}, {"JUN", true, 6}, {"SEP", true, 9}, {"DEC", true, 12},
                 {"ANF", true, 1}, {"BMA", true, 2}, {"UNJ", true, 6}, {"", true, 1}, {"jan", false, 42},
                 {"XYZ", false, 42}, {"DECJ", false, 42}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.abbreviation);
        int month = 42;
        EXPECT_EQ(c.known, MonthFromAbbreviation(c.abbreviation, month));
        EXPECT_EQ(c.month, month);
    }
}

TEST(FieldConversions, ToUpperAndRemoveDashesChangeTheStringInPlace) {
    CString text("03-nov-11 az\xe9");
    EXPECT_EQ(&text, &ToUpper(text));
    EXPECT_STREQ("03-NOV-11 AZ\xe9", text.GetText());
    EXPECT_EQ(&text, &RemoveDashes(text));
    EXPECT_STREQ("03NOV11 AZ\xe9", text.GetText());
}

// The dates are counted, not asked of the platform: the count must be the
// platform's own conversion for every date a statement can write, from the
// first day after 30 December 1899 to the last of 9999.
TEST(FieldConversions, CalendarCountIsThePlatformsDateForEveryDate) {
#ifndef _WIN32
    GTEST_SKIP() << "the platform's date conversion is the Windows one";
#else
    static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    long differences = 0, checked = 0;
    for (int year = 1899; year <= 9999; ++year) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        for (int month = year == 1899 ? 12 : 1; month <= 12; ++month) {
            const int days = kDaysInMonth[month - 1] + (month == 2 && leap);
            for (int day = year == 1899 ? 31 : 1; day <= days; ++day) {
                SYSTEMTIME time = {};
                time.wYear = static_cast<WORD>(year);
                time.wMonth = static_cast<WORD>(month);
                time.wDay = static_cast<WORD>(day);
                DATE platform = 0;
                ASSERT_TRUE(SystemTimeToVariantTime(&time, &platform)) << year << "-" << month << "-" << day;
                differences += DateFromCalendar(year, month, day) != platform;
                ++checked;
            }
        }
    }
    EXPECT_EQ(2958465, checked);
    EXPECT_EQ(0, differences);
#endif
}

// Dates of the forms the statements write, and month abbreviations, are
// read at once. The same dates written so that only the general reading
// takes them (a space before a number, which the reading of a number passes
// over) must give the same dates, and every three capitals the month that a
// search of the month table gives.
TEST(FieldConversions, QuickReadingsGiveWhatTheGeneralReadingGives) {
    char text[32], spaced[32];
    for (int day = 0; day <= 33; ++day) {
        for (int month = 0; month <= 13; ++month) {
            for (const char* year : {"0", "99", "0011", "1899", "1900", "2024", "9999"}) {
                for (const char* form : {"%02d/%02d/%s", "%d/%d/%s"}) {
                    std::snprintf(text, sizeof text, form, day, month, year);
                    std::snprintf(spaced, sizeof spaced, " %s", text);
                    ASSERT_EQ(ParseSlashDate(spaced), ParseSlashDate(text)) << text;
                }
            }
        }
    }
    const char* const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int day = 0; day <= 9; ++day) {
        for (const char* month : months) {
            for (int year = 0; year <= 9; ++year) {
                std::snprintf(text, sizeof text, "%02d%s%02d", day, month, year);
                std::snprintf(spaced, sizeof spaced, " %d%s %d", day, month, year);
                ASSERT_EQ(ParseMonthDate(spaced), ParseMonthDate(text)) << text;
            }
        }
    }
    const std::string table = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    for (char a = 'A'; a <= 'Z'; ++a) {
        for (char b = 'A'; b <= 'Z'; ++b) {
            for (char c = 'A'; c <= 'Z'; ++c) {
                const char letters[] = {a, b, c, '\0'};
                const size_t found = table.find(letters);
                int month = 0;
                ASSERT_EQ(found != std::string::npos, MonthFromAbbreviation(letters, month)) << letters;
                if (found != std::string::npos) {
                    ASSERT_EQ(static_cast<int>(found / 3 + 1), month) << letters;
                }
            }
        }
    }
}
