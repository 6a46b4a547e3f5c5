#include "ValueText.h"

#include <oleauto.h>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>

namespace {

// The shortest decimal of a whole number of hundredths (an amount, a
// balance, a whole day), nonzero and below 2^40, worked out from that
// number: as the double is the one nearest to it, and doubles so small lie
// far closer together than a hundredth, its digits without the zeros they
// end in are the one shortest text that reads back as the double. They are
// written fixed or in scientific notation, whichever is shorter (fixed on a
// tie), as std::to_chars writes them: its plain twin, which every other
// value takes, and which ValueTextTest holds this one to. False, writing
// nothing, for any other value.
bool AppendHundredths(std::string& text, double value) {
    constexpr double kBelow = 1099511627776.0;  // 2^40
    if (!(value > -kBelow && value < kBelow)) return false;
    const long long hundredths = std::llround(value * 100);
    if (hundredths == 0 || static_cast<double>(hundredths) / 100 != value) return false;
    unsigned long long digits = hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths)
                                               : static_cast<unsigned long long>(hundredths);
    int exponent = -2;  // of the last digit
    for (; digits % 10 == 0; digits /= 10) ++exponent;
    char shown[24];
    const int count = static_cast<int>(std::to_chars(shown, shown + sizeof shown, digits).ptr - shown);
    const int first = exponent + count - 1;  // the exponent of the first digit
    const int fixedLength = exponent >= 0 ? count + exponent : first >= 0 ? count + 1 : 1 - first + count;
    const int scientificLength = count + (count > 1 ? 1 : 0) + 4;
    if (hundredths < 0) text += '-';
    if (scientificLength < fixedLength) {
        text += shown[0];
        if (count > 1) text.append(".").append(shown + 1, static_cast<size_t>(count - 1));
        text += first < 0 ? "e-0" : first < 10 ? "e+0" : "e+";
        AppendWholeNumber(text, first < 0 ? -first : first);
    } else if (exponent >= 0) {
        text.append(shown, static_cast<size_t>(count)).append(static_cast<size_t>(exponent), '0');
    } else if (first >= 0) {
        text.append(shown, static_cast<size_t>(first + 1)).append(".").append(shown + first + 1,
                                                                              static_cast<size_t>(count - first - 1));
    } else {
        text.append("0.").append(static_cast<size_t>(-first - 1), '0').append(shown, static_cast<size_t>(count));
    }
    return true;
}

struct CalendarDay {
    unsigned year, month, day;
};

// The day of a whole OLE Automation date from 1 (1899-12-31) to 2958465
// (9999-12-31), as the Gregorian calendar counts it; nothing for any other
// date, which VariantTimeToSystemTime reads (its plain twin: ValueTextTest
// holds the two equal on every day from 1 to 2958465).
std::optional<CalendarDay> CalendarDayOf(DATE date) {
    constexpr DATE kFirst = 1, kLast = 2958465;
    constexpr long kDaysFrom0000To1899_12_30 = 693899;  // counted from 0000-03-01, as below
    if (!(date >= kFirst && date <= kLast) || date != static_cast<double>(static_cast<long>(date))) return std::nullopt;
    // Days since 0000-03-01: a year then ends with February and its leap day.
    const long days = static_cast<long>(date) + kDaysFrom0000To1899_12_30;
    const long era = days / 146097;  // 400 years
    const long dayOfEra = days - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthFromMarch = (5 * dayOfYear + 2) / 153;
    const long month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    return CalendarDay{static_cast<unsigned>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)),
                       static_cast<unsigned>(month),
                       static_cast<unsigned>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1)};
}

// YYYY-MM-DD, for years of four digits at most.
std::string IsoText(const CalendarDay& day) {
    std::string text = "0000-00-00";
    const auto digits = [&](std::size_t end, std::size_t width, unsigned value) {
        for (std::size_t at = end; at > end - width; value /= 10) text[--at] = static_cast<char>('0' + value % 10);
    };
    digits(4, 4, day.year);
    digits(7, 2, day.month);
    digits(10, 2, day.day);
    return text;
}

}  // namespace

std::string MoneyText(Pence pence) {
    const unsigned long long magnitude =
        pence < 0 ? 0ULL - static_cast<unsigned long long>(pence) : static_cast<unsigned long long>(pence);
    std::string whole = std::to_string(magnitude / 100);
    for (size_t end = whole.size(); end > 3; end -= 3) whole.insert(end - 3, ",");
    const unsigned long long cents = magnitude % 100;
    return (pence < 0 ? "-" : "") + whole + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

std::string SignedMoneyText(Pence pence) { return (pence > 0 ? "+" : "") + MoneyText(pence); }

void AppendWholeNumber(std::string& text, long long number) {
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, written.ptr);
}

void AppendShortestDecimal(std::string& text, double value) {
    if (AppendHundredths(text, value)) return;
    char digits[64];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, written.ptr);
}

std::string ShortestDecimal(double value) {
    std::string text;
    AppendShortestDecimal(text, value);
    return text;
}

std::string IsoDate(DATE date) {
    if (const auto day = CalendarDayOf(date)) return IsoText(*day);
    SYSTEMTIME time;
    if (date == 0 || !VariantTimeToSystemTime(date, &time)) return "";
    return IsoText({time.wYear, time.wMonth, time.wDay});
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    return quoted.append(1, '"').append(text).append(1, '"');
}
