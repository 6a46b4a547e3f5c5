// The money a statement line writes in its debit, credit and balance fields
// (6, 7 and 8 in both layouts), read from the line's own text. The record
// the reader fills cannot serve here: its amounts have lost their minus
// signs, so an overdrawn balance would read as a positive one, and it does
// not tell an empty field from one that is not an amount.
//
// Quotes, whitespace and thousands separators go as in the reader; what is
// left must be a plain decimal number (an optional sign, digits, an optional
// point and digits), or the field does not read as an amount.
#pragma once

#include <string>

// Money in pennies: balances compare to the penny.
using Pence = long long;

struct MoneyField {
    enum class Kind : unsigned char { Empty, Amount, Unreadable };
    Kind kind = Kind::Empty;
    Pence pence = 0;   // an Amount's value; a third decimal rounds the second
    std::string text;  // an Unreadable field as written, in double quotes
    bool digits = false;  // the field holds a decimal digit (a field too long to take may)
};

struct LineMoney {
    MoneyField debit, credit, balance;
};

// The three money fields of a line of 8 fields.
LineMoney ReadLineMoney(const char* line);

// One field's text.
MoneyField ReadMoney(const char* field);

// "-1,234.56": thousands separators and two decimals.
std::string MoneyText(Pence pence);
