// The host's lines as a table for people: a column each for the number,
// direction, amount (at least two decimals), date, description and
// reference, as wide as its widest cell, every text made printable
// (Printable). The cells are made twice, once to measure them and once to
// write them: nothing is kept per line.
#pragma once

#include "HostLines.h"
#include "LineCells.h"

#include <array>
#include <ostream>
#include <string>

void WriteTable(std::ostream& out, const HostLines& lines);

// A statement line's cells as the table shows them.
std::array<std::string, kColumnCount> TableCells(const HostLine& line);
