// Amounts of statement fields, as the reader reads them: from the field's
// bytes in the line, its enclosing quotes already gone. The classic reading
// of a CString, ParseAmount (FieldConversions.h), builds on this one.
//
// A field holds an amount only when it is written as the bank writes one:
// - digits, with commas only between groups of three (1,234,567.00; a first
//   group of one to three digits, every later one of three), and at most one
//   full stop, with a digit after it (.50 is half a unit);
// - at most 15 digits in all;
// - at most one sign: a minus or a plus at the start, or a minus at the end
//   (-12.50, 12.50-); the amount is never negative;
// - whitespace and the no-break space (byte A0 in the ANSI code page, the
//   bytes C2 A0 in UTF-8) anywhere: they are dropped (12 50.00 is 1250).
// A field of nothing but whitespace, no-break spaces, signs and quotes
// (" - ", "") is empty. Anything else (1.250,00, 82,40, 50.00 CR, 1e3,
// inf, $12.50, a stray quote beside digits) is refused: it does not read.
//
// Quick reading and its plain twin: the amount as the statements write it
// (an optional leading minus, digits in groups of three with commas between
// them or without commas, an optional fraction, nothing else) is read inline
// in one pass; any other field is read by the general reading, one pass
// over its bytes that judges each where it stands. Either gathers the
// digits; the value is their quotient by a power of ten, or, where the
// processor's rounding cannot make that exact, the digits' text read by
// from_chars. The test LineFieldsDifferential.*
// (tests/statement/LineFieldsDifferentialTest.cpp) and the line_fields fuzz
// harness hold ReadAmount equal to the plain reference reading
// reference::Amount (tests/statement/ReferenceLineFields.h).
#pragma once

#include "LineFields.h"
#include "StatementFormat.h"

#include <cfloat>
#include <cstdint>

constexpr int kMostAmountDigits = 15;  // any 15 digits make a whole number below 2^53
constexpr int kAmountGroupDigits = 3;

struct WrittenAmount {
    enum class Kind : unsigned char { Empty, Amount, Refused };
    Kind kind = Kind::Empty;
    bool negative = false;      // an Amount written with a minus sign
    std::uint64_t digits = 0;   // an Amount's digits as one whole number
    int fractionDigits = 0;     // how many of them follow the full stop

    // An Amount's value, never negative; 0 for the other kinds.
    double Value() const;
};

// The value of an Amount from its digits' text, by from_chars.
double AmountValueFromText(const WrittenAmount& amount);

// The field's amount, its no-break spaces those of `encoding`.
inline WrittenAmount ReadAmount(FieldSpan field, FileEncoding encoding);

// The general reading, for any field.
WrittenAmount ReadAnyAmount(FieldSpan field, FileEncoding encoding);

// The value of the field's amount in the ANSI code page, or 0 when it is
// empty or refused.
double UnquotedAmount(FieldSpan field);

// What the reader calls for three fields of every line, inline.

namespace amount_reading {

inline bool IsDigitByte(unsigned char c) { return static_cast<unsigned>(c - '0') < 10; }

// The digits from `p` on, added to `digits`; returns where they end.
inline const unsigned char* TakeDigits(const unsigned char* p, const unsigned char* end, std::uint64_t& digits) {
    for (; p != end && IsDigitByte(*p); ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
    return p;
}

// The amount as the statements write it, into `amount`; false for any
// other field, which the general reading then reads.
[[gnu::always_inline]] inline bool ReadWrittenAmount(FieldSpan field, WrittenAmount& amount) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(field.text);
    const unsigned char* const end = p + field.length;
    const bool negative = *p == '-';
    p += negative;
    std::uint64_t digits = 0;
    const unsigned char* const start = p;
    p = TakeDigits(p, end, digits);
    int count = static_cast<int>(p - start);
    if (p != end && *p == ',') {
        if (count == 0 || count > kAmountGroupDigits) return false;
        do {
            if (end - p <= kAmountGroupDigits || !IsDigitByte(p[1]) || !IsDigitByte(p[2]) || !IsDigitByte(p[3]))
                return false;
            digits = digits * 1000 + static_cast<unsigned>(p[1] - '0') * 100 + static_cast<unsigned>(p[2] - '0') * 10 +
                     static_cast<unsigned>(p[3] - '0');
            p += kAmountGroupDigits + 1;
            count += kAmountGroupDigits;
        } while (p != end && *p == ',');
    }
    int fractionDigits = 0;
    if (p != end && *p == '.') {
        const unsigned char* const fraction = ++p;
        if (end - p == 2 && IsDigitByte(p[0]) && IsDigitByte(p[1])) {  // pence, as nearly every amount has
            digits = digits * 100 + static_cast<unsigned>(p[0] - '0') * 10 + static_cast<unsigned>(p[1] - '0');
            p = end;
        } else {
            p = TakeDigits(p, end, digits);
        }
        fractionDigits = static_cast<int>(p - fraction);
        if (fractionDigits == 0) return false;
        count += fractionDigits;
    }
    if (p != end || count == 0 || count > kMostAmountDigits) return false;
    amount.kind = WrittenAmount::Kind::Amount;
    amount.negative = negative;
    amount.digits = digits;
    amount.fractionDigits = fractionDigits;
    return true;
}

}  // namespace amount_reading

inline WrittenAmount ReadAmount(FieldSpan field, FileEncoding encoding) {
    WrittenAmount amount;
    if (field.length == 0 || amount_reading::ReadWrittenAmount(field, amount)) return amount;
    return ReadAnyAmount(field, encoding);
}

namespace amount_reading {

inline constexpr double kPowersOfTen[kMostAmountDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Where double arithmetic is done in double precision (not on an x87, which
// rounds twice; both builds use SSE2) and the processor rounds to nearest, a
// whole number below 2^53 and a power of ten up to 1e22 are exact doubles,
// and their quotient, rounded once, is the double nearest the decimal
// number, which is what from_chars gives. The processor rounds to nearest
// unless a program asks otherwise (the test fast_float uses): 1 + FLT_MIN
// and 1 - FLT_MIN both round to 1 only then.
inline bool QuotientIsExact() {
#if FLT_EVAL_METHOD == 0
    static volatile float smallest = FLT_MIN;
    const float tiny = smallest;
    return tiny + 1.0f == 1.0f - tiny;
#else
    return false;
#endif
}

}  // namespace amount_reading

inline double WrittenAmount::Value() const {
    if (kind != Kind::Amount) return 0.0;
    return amount_reading::QuotientIsExact()
               ? static_cast<double>(digits) / amount_reading::kPowersOfTen[fractionDigits]
               : AmountValueFromText(*this);
}
