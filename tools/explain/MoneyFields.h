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
#include "ValueText.h"

#include <cstddef>
#include <string>

struct MoneyField {
    enum class Kind : unsigned char { Empty, Amount, Unreadable };
    Kind kind = Kind::Empty;
    Pence pence = 0;   // an Amount's value; a third decimal rounds the second
    std::string text;  // as written, enclosing quotes stripped (empty for an Empty field; see ReadLineMoney)
};

struct LineMoney {
    MoneyField debit, credit, balance;
};

// `money` becomes the three money fields of a line of 8 fields, of
// `length` bytes, in the file's `encoding`; its texts take the room they
// have. The text of a field that reads as an amount is kept only when
// `amountTexts` asks for it (a line refused for holding two amounts names
// them); the other texts always are.
void ReadLineMoney(const char* line, std::size_t length, FileEncoding encoding, bool amountTexts, LineMoney& money);

// One field's text, with its enclosing quotes, if any.
MoneyField ReadMoney(const char* field, FileEncoding encoding = FileEncoding::Ansi);
