#include "MoneyFields.h"

#include "LineFields.h"
#include "StatementFormat.h"

namespace {

// More whole digits than any account holds; more would not fit in Pence.
constexpr int kMostWholeDigits = 15;

// A plain decimal number in pennies, or false when the text is not one.
bool ParsePence(const char* text, Pence& pence) {
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    Pence whole = 0;
    int wholeDigits = 0;
    for (; IsDigit(*text); ++text, ++wholeDigits) {
        if (wholeDigits == kMostWholeDigits) return false;
        whole = whole * 10 + (*text - '0');
    }
    Pence cents = 0;
    int fractionDigits = 0;
    bool roundUp = false;
    if (*text == '.')
        for (++text; IsDigit(*text); ++text, ++fractionDigits) {
            if (fractionDigits < 2) cents = cents * 10 + (*text - '0');
            if (fractionDigits == 2) roundUp = *text >= '5';
        }
    if (*text != '\0' || wholeDigits + fractionDigits == 0) return false;
    if (fractionDigits == 1) cents *= 10;
    pence = whole * 100 + cents + (roundUp ? 1 : 0);
    if (negative) pence = -pence;
    return true;
}

// A field too long for the line splitter (only a credit field that the
// reader never took, beside a debit, can be) is no amount either.
MoneyField MoneyOfField(const char* line, int n) {
    FieldBuffer buffer;
    const char* field = PeekField(line, kSeparator, n, buffer);
    if (field) return ReadMoney(field);
    MoneyField tooLong;
    tooLong.kind = MoneyField::Kind::Unreadable;
    tooLong.text = "of more than " + std::to_string(kMaxFieldLength) + " characters";
    tooLong.digits = true;
    return tooLong;
}

}  // namespace

LineMoney ReadLineMoney(const char* line) {
    return {MoneyOfField(line, kDebitField), MoneyOfField(line, kCreditField), MoneyOfField(line, kBalanceField)};
}

MoneyField ReadMoney(const char* field) {
    MoneyField money;
    CString written(field);
    StripQuotes(written);
    CString number = written;
    RemoveWhitespace(number);
    RemoveChars(number, ",");
    if (number.GetLength() == 0) return money;
    for (const char* c = number.GetText(); *c && !money.digits; ++c) money.digits = IsDigit(*c);
    if (ParsePence(number.GetText(), money.pence)) {
        money.kind = MoneyField::Kind::Amount;
    } else {
        money.kind = MoneyField::Kind::Unreadable;
        money.text = "\"" + std::string(written.GetText()) + "\"";
    }
    return money;
}

std::string MoneyText(Pence pence) {
    const unsigned long long magnitude =
        pence < 0 ? 0ULL - static_cast<unsigned long long>(pence) : static_cast<unsigned long long>(pence);
    std::string whole = std::to_string(magnitude / 100);
    for (size_t end = whole.size(); end > 3; end -= 3) whole.insert(end - 3, ",");
    const unsigned long long cents = magnitude % 100;
    return (pence < 0 ? "-" : "") + whole + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}
