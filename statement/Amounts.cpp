#include "Amounts.h"

#include "StatementFormat.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

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

bool IsExponentMark(char c) { return c == 'e' || c == 'E'; }

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

}  // namespace

double UnquotedAmount(FieldSpan field) {
    double amount = 0.0;
    return QuickAmount(field.text, field.text + field.length, amount) ? amount : CleanedAmount(field);
}
