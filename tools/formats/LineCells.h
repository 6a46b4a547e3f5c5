// What the table, CSV and JSON writers share of a host line's cells: the
// columns, in their order, and the words for a line's direction. Numbers,
// amounts and dates are written as the tool writes every such value
// (ValueText.h).
#pragma once

#include <cstddef>
#include <string>

enum Column : std::size_t { kNumber, kDirection, kAmount, kDate, kDescription, kReference };
constexpr std::size_t kColumnCount = 6;

// "debit" for 0, "credit" for 1, else the number the host was given.
std::string DirectionText(long direction);
