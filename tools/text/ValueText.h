// How the tool writes values in its texts, each kind in one way everywhere:
// whole numbers, decimals, money, dates and quoted texts.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Money in pennies: balances compare to the penny.
using Pence = long long;

// "-1,234.56": thousands separators and two decimals.
std::string MoneyText(Pence pence);
// "+100.00", "-0.07", "0.00": MoneyText, with a plus sign above zero.
std::string SignedMoneyText(Pence pence);

// Appends the number's decimal digits, with a minus sign below zero.
void AppendWholeNumber(std::string& text, long long number);
// Appends the shortest decimal text that reads back as the same double:
// 12.5, 100, 1e+21 (as std::to_chars writes it).
void AppendShortestDecimal(std::string& text, double value);
std::string ShortestDecimal(double value);

// YYYY-MM-DD of an OLE Automation date; empty for 0 and for a date that
// is none.
std::string IsoDate(DATE date);

// The text in double quotes, as the tool's words quote a text of the file.
std::string Quoted(std::string_view text);
