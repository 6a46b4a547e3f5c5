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

// `money` becomes the field, its text taking the room it has; an amount's
// text only when `amountText` asks for it.
void ReadInto(MoneyField& money, FieldSpan written, FileEncoding encoding, bool amountText) {
    const FieldSpan unquoted = Unquoted(written, false);
    const WrittenAmount amount = ReadAmount(unquoted, encoding);
    money.kind = MoneyField::Kind::Empty;
    money.pence = 0;
    money.text.clear();
    if (amount.kind == WrittenAmount::Kind::Empty) return;
    if (amount.kind == WrittenAmount::Kind::Amount) {
        money.kind = MoneyField::Kind::Amount;
        money.pence = PenceOf(amount);
    } else {
        money.kind = MoneyField::Kind::Unreadable;
    }
    if (amountText || money.kind == MoneyField::Kind::Unreadable)
        money.text.append(unquoted.text, static_cast<size_t>(unquoted.length));
}

}  // namespace

void ReadLineMoney(const char* line, std::size_t length, FileEncoding encoding, bool amountTexts, LineMoney& money) {
    const LineSplit split(line, length, kSeparator);
    ReadInto(money.debit, split.Field(kDebitField), encoding, amountTexts);
    ReadInto(money.credit, split.Field(kCreditField), encoding, amountTexts);
    ReadInto(money.balance, split.Field(kBalanceField), encoding, amountTexts);
}

MoneyField ReadMoney(const char* field, FileEncoding encoding) {
    MoneyField money;
    ReadInto(money, {field, static_cast<int>(std::strlen(field))}, encoding, true);
    return money;
}
