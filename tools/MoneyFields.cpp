#include "MoneyFields.h"

#include "Amounts.h"

#include <cstring>

namespace {

constexpr int kPenceDigits = 2;

Pence PowerOfTen(int exponent) {
    Pence power = 1;
    while (exponent-- > 0) power *= 10;
    return power;
}

// The amount in pennies: more decimals than two are cut after the third,
// which rounds the second.
Pence PenceOf(const WrittenAmount& amount) {
    const auto digits = static_cast<Pence>(amount.digits);
    Pence pence = 0;
    if (amount.fractionDigits <= kPenceDigits) {
        pence = digits * PowerOfTen(kPenceDigits - amount.fractionDigits);
    } else {
        const Pence thirds = digits / PowerOfTen(amount.fractionDigits - kPenceDigits - 1);
        pence = thirds / 10 + (thirds % 10 >= 5 ? 1 : 0);
    }
    return amount.negative ? -pence : pence;
}

MoneyField MoneyOf(FieldSpan written, FileEncoding encoding) {
    const FieldSpan unquoted = Unquoted(written, false);
    const WrittenAmount amount = ReadAmount(unquoted, encoding);
    MoneyField money;
    if (amount.kind == WrittenAmount::Kind::Empty) return money;
    money.text.assign(unquoted.text, static_cast<size_t>(unquoted.length));
    if (amount.kind == WrittenAmount::Kind::Amount) {
        money.kind = MoneyField::Kind::Amount;
        money.pence = PenceOf(amount);
    } else {
        money.kind = MoneyField::Kind::Unreadable;
    }
    return money;
}

}  // namespace

LineMoney ReadLineMoney(const char* line, FileEncoding encoding) {
    const LineSplit split(line, kSeparator);
    return {MoneyOf(split.Field(kDebitField), encoding), MoneyOf(split.Field(kCreditField), encoding),
            MoneyOf(split.Field(kBalanceField), encoding)};
}

MoneyField ReadMoney(const char* field, FileEncoding encoding) {
    return MoneyOf({field, static_cast<int>(std::strlen(field))}, encoding);
}

std::string MoneyText(Pence pence) {
    const unsigned long long magnitude =
        pence < 0 ? 0ULL - static_cast<unsigned long long>(pence) : static_cast<unsigned long long>(pence);
    std::string whole = std::to_string(magnitude / 100);
    for (size_t end = whole.size(); end > 3; end -= 3) whole.insert(end - 3, ",");
    const unsigned long long cents = magnitude % 100;
    return (pence < 0 ? "-" : "") + whole + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}
