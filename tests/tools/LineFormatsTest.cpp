// The host's lines as the tool writes them: the quick ways (whole days
// worked out without VariantTimeToSystemTime, cells of plain text taken as
// they stand) give what the plain ones give.
#include "LineFormats.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <charconv>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The plain way: the date as VariantTimeToSystemTime reads it.
std::string SystemIsoDate(DATE date) {
    SYSTEMTIME time;
    if (date == 0 || !VariantTimeToSystemTime(date, &time)) return "";
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", time.wYear, time.wMonth, time.wDay);
    return text;
}

TEST(LineFormats, IsoDateIsTheSystemsDateOnEveryDay) {
    for (DATE day = 1; day <= 2958465; ++day)
        if (IsoDate(day) != SystemIsoDate(day)) FAIL() << day << ": " << IsoDate(day) << ", not " << SystemIsoDate(day);
    for (const DATE date : {0.0, 0.5, -1.0, -0.25, 40850.75, 2958465.5, 2958466.0, -657435.0, -657434.0})
        EXPECT_EQ(IsoDate(date), SystemIsoDate(date)) << date;
}

// The plain way: the shortest decimal std::to_chars writes.
std::string ToChars(double value) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

TEST(LineFormats, ShortestDecimalIsToCharsShortest) {
    std::vector<double> values = {0.0, -0.0, 0.001, 1.0 / 3, 1e21, 1e-7, 1099511627776.0, 1099511627775.99,
                                  -1099511627775.99, std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::max()};
    for (long long hundredths = -200000; hundredths <= 200000; ++hundredths) values.push_back(hundredths / 100.0);
    for (double power = 1; power < 1e13; power *= 10)
        for (const double digits : {1.0, 12.0, 125.0, 1234567.0, 99.0, 1001.0})
            for (const double sign : {1.0, -1.0}) values.push_back(sign * digits * power / 100);
    std::mt19937_64 random(2026);
    for (int draw = 0; draw < 200000; ++draw)
        values.push_back(static_cast<double>(static_cast<long long>(random() % 100000000000000ULL)) / 100);
    for (const double value : values)
        if (ShortestDecimal(value) != ToChars(value)) FAIL() << ToChars(value) << " written " << ShortestDecimal(value);
}

struct Given {
    long number;
    const char* numberText;  // a number put as another type than VT_I4, or null
    long direction;
    double amount;
    DATE date;
    const char* description;
    const char* reference;
};

void Keep(HostLines& lines, const Given& given) {
    const HostLines::Slot slot = lines.Add();
    if (given.numberText)
        lines.SetNumberText(slot, given.numberText);
    else
        lines.SetNumber(slot, given.number);
    lines.SetDirection(slot, given.direction);
    lines.SetAmount(slot, given.amount);
    lines.SetDate(slot, given.date);
    lines.SetText(slot, HostLines::Text::Description, given.description);
    lines.SetText(slot, HostLines::Text::Reference, given.reference);
}

std::string Written(OutputFormat format, const HostLines& lines) {
    std::ostringstream out;
    WriteLines(out, format, lines, ImportReview());
    return out.str();
}

TEST(LineFormats, EachFormatWritesTheCellsItShows) {
    HostLines lines;
    for (const Given& given : {Given{1, nullptr, 0, 45.2, 40850, "SUPPLIER, LTD", "FPO"},
                               Given{2, nullptr, -1, 100, 0, "say \"hi\"", "=1"},
                               Given{0, "VT_BSTR 1,2", 1, 1e21, 2958465, "CAF\xC3\x89", "\x1B[2J"}})
        Keep(lines, given);

    EXPECT_EQ(Written(OutputFormat::Csv, lines),
              "number,direction,amount,date,description,reference\n"
              "1,debit,45.2,2011-11-03,\"SUPPLIER, LTD\",FPO\n"
              "2,'-1,100,,\"say \"\"hi\"\"\",'=1\n"
              "\"VT_BSTR 1,2\",credit,1e+21,9999-12-31,CAF\xC3\x89,\x1B[2J\n");
    EXPECT_EQ(Written(OutputFormat::Table, lines),
              "         No  Direction  Amount  Date        Description    Reference\n"
              "          1  debit       45.20  2011-11-03  SUPPLIER, LTD  FPO\n"
              "          2  -1         100.00              say \"hi\"       =1\n"
              "VT_BSTR 1,2  credit      1e+21  9999-12-31  CAF\xC3\x89           \\x1B[2J\n");
    const std::string json = Written(OutputFormat::Json, lines);
    for (const char* part :
         {"{\"number\": 1, \"direction\": \"debit\", \"amount\": 45.2, \"date\": \"2011-11-03\", \"description\": "
          "\"SUPPLIER, LTD\", \"reference\": \"FPO\", \"date_value\": 40850, \"balance\": null}",
          "\"direction\": \"-1\", \"amount\": 100, \"date\": \"\", \"description\": \"say \\\"hi\\\"\"",
          "{\"number\": VT_BSTR 1,2, \"direction\": \"credit\", \"amount\": 1e+21, \"date\": \"9999-12-31\", "
          "\"description\": \"CAF\xC3\x89\", \"reference\": \"\\u001b[2J\", \"date_value\": 2958465"})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
}

}  // namespace
