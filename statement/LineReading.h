// Reading one physical line of a statement file into a fixed buffer.
#pragma once

#include <istream>

constexpr int kMaxLineLength = 2047;
constexpr int kLineBufferSize = kMaxLineLength + 2;
using LineBuffer = char[kLineBufferSize];

enum class LineRead { Complete, TooLong, End };

// Reads the next line (without its line feed) into `line`. At the end of the
// file the line is empty and the result is End (an empty line before the end
// is Complete). A line longer than kMaxLineLength is not kept: the rest of it
// is passed over, so the next read starts at the following line, and the
// result is TooLong with an empty buffer.
LineRead ReadLine(std::istream& stream, LineBuffer& line);

// Passes over a UTF-8 byte-order mark (EF BB BF) when the stream, standing at
// the start of the file, begins with one; otherwise leaves the stream where
// it is. Spreadsheet programs write one when they save a statement again, and
// left in place it would become part of the first line's first field. Call
// it once right after opening; Rewind calls it itself. True when a mark was
// passed over: the file's text is then UTF-8.
bool SkipByteOrderMark(std::istream& stream);

// Moves back to the start of the first line, past a byte-order mark,
// whatever state the last read left.
void Rewind(std::istream& stream);
