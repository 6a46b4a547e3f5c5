// The money a statement line writes in its debit, credit and balance fields
// (6, 7 and 8 in both layouts), read from the line's own text. The record
// the reader fills cannot serve here: its amounts have lost their signs, so
// an overdrawn balance would read as a positive one, and it does not tell
// an empty field from one that is not an amount.
//
// Each field is read as the reader reads it (ReadAmount, Amounts.h), so a
// field is an amount here exactly when it is one to the import.
#pragma once

#include "LineFields.h"
#include "StatementFormat.h"

#include <string>

// Money in pennies: balances compare to the penny.
using Pence = long long;

struct MoneyField {
    enum class Kind : unsigned char { Empty, Amount, Unreadable };
    Kind kind = Kind::Empty;
    Pence pence = 0;   // an Amount's value; a third decimal rounds the second
    std::string text;  // as written, enclosing quotes stripped (empty for an Empty field)
};

struct LineMoney {
    MoneyField debit, credit, balance;
};

// The three money fields of a line of 8 fields, in the file's `encoding`.
LineMoney ReadLineMoney(const char* line, FileEncoding encoding);

// One field's text, with its enclosing quotes, if any.
MoneyField ReadMoney(const char* field, FileEncoding encoding = FileEncoding::Ansi);

// "-1,234.56": thousands separators and two decimals.
std::string MoneyText(Pence pence);
