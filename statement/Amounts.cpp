#include "Amounts.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

using Kind = WrittenAmount::Kind;

constexpr int kMostDigits = kMostAmountDigits;
constexpr int kGroupDigits = kAmountGroupDigits;
constexpr unsigned kAnsiNoBreakSpace = 0xA0;
constexpr unsigned kUtf8NoBreakSpaceLead = 0xC2;  // then 0xA0

}  // namespace

// The digits written out with their full stop (zeros in front where the
// fraction has more digits than the number).
double AmountValueFromText(const WrittenAmount& amount) {
    char written[kMostDigits + 1];
    const int digits = static_cast<int>(std::to_chars(written, written + sizeof written, amount.digits).ptr - written);
    char padded[kMostDigits + 2];
    int length = 0;
    for (int zeros = amount.fractionDigits + 1 - digits; zeros > 0; --zeros) padded[length++] = '0';
    std::memcpy(padded + length, written, static_cast<size_t>(digits));
    length += digits;
    const int whole = length - amount.fractionDigits;
    char text[kMostDigits + 3];
    std::memcpy(text, padded, static_cast<size_t>(whole));
    text[whole] = '.';
    std::memcpy(text + whole + 1, padded + whole, static_cast<size_t>(amount.fractionDigits));
    double value = 0.0;
    std::from_chars(text, text + length + 1, value);
    return value;
}

// One pass over the field: every byte is a digit, a comma or full stop
// checked where it stands, a sign, a quote or a blank (whitespace or a
// no-break space); any other byte refuses the field at once. What can only
// be judged whole (the count of digits and signs, the last group, a digit
// after the full stop, whether there is a number at all) is judged at the
// end.
WrittenAmount ReadAnyAmount(FieldSpan field, FileEncoding encoding) {
    WrittenAmount amount;
    const auto refused = [&amount] {
        amount = WrittenAmount();
        amount.kind = Kind::Refused;
        return amount;
    };
    std::uint64_t digits = 0;  // may wrap past kMostDigits digits, which are refused
    int count = 0, group = 0, commas = 0, signs = 0;
    int pointAt = -1;       // digits before the full stop, once there is one
    bool trailing = false;  // a sign followed the number: only blanks may come after it
    bool quote = false;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(field.text);
    for (const unsigned char* const end = p + field.length; p != end; ++p) {
        const unsigned c = *p;
        const unsigned digit = c - '0';
        if (digit < 10) {
            if (trailing) return refused();
            digits = digits * 10 + digit;
            ++count;
            ++group;
            continue;
        }
        switch (c) {
            case ',':
                if (trailing || pointAt >= 0 || group == 0 || group > kGroupDigits || (commas && group != kGroupDigits))
                    return refused();
                ++commas;
                group = 0;
                continue;
            case '.':
                if (trailing || pointAt >= 0 || (commas && group != kGroupDigits)) return refused();
                pointAt = count;
                continue;
            case '-':
            case '+':
                ++signs;
                if (count == 0 && pointAt < 0) {
                    amount.negative = amount.negative || c == '-';
                    continue;
                }
                if (c == '+') return refused();
                trailing = true;
                amount.negative = true;
                continue;
            case '"':
                quote = true;
                continue;
            case ' ':
            case '\t':
            case '\n':
            case '\v':
            case '\f':
            case '\r':
                continue;
            case kAnsiNoBreakSpace:
                if (encoding != FileEncoding::Ansi) return refused();
                continue;
            case kUtf8NoBreakSpaceLead:
                if (encoding != FileEncoding::Utf8 || p + 1 == end || p[1] != kAnsiNoBreakSpace) return refused();
                ++p;
                continue;
            default:
                return refused();
        }
    }
    if (count == 0 && pointAt < 0) {
        amount.negative = false;
        return amount;  // nothing but blanks, signs and quotes: empty
    }
    if (quote || signs > 1 || count > kMostDigits || count == pointAt || (pointAt < 0 && commas && group != kGroupDigits))
        return refused();
    amount.kind = Kind::Amount;
    amount.digits = digits;
    amount.fractionDigits = pointAt < 0 ? 0 : count - pointAt;
    return amount;
}

double UnquotedAmount(FieldSpan field) { return ReadAmount(field, FileEncoding::Ansi).Value(); }
