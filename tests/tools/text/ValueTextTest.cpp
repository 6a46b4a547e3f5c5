// Values as the tool writes them: the quick ways (whole days worked out
// without VariantTimeToSystemTime, whole hundredths written from their
// digits) give what the plain ones give.
#include "ValueText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <charconv>
#include <cstdio>
#include <limits>
#include <random>
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

TEST(ValueText, IsoDateIsTheSystemsDateOnEveryDay) {
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

TEST(ValueText, ShortestDecimalIsToCharsShortest) {
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

TEST(ValueText, SignedMoneyHasAPlusAboveZeroOnly) {
    const struct {
        Pence pence;
        const char* text;
    } cases[] = {{10000, "+100.00"}, {1, "+0.01"}, {0, "0.00"}, {-7, "-0.07"}, {-123456705, "-1,234,567.05"}};
    for (const auto& c : cases) EXPECT_EQ(c.text, SignedMoneyText(c.pence)) << c.pence;
}

}  // namespace
