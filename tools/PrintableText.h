// Text of a statement file shown to people. A file's descriptions and
// fields can hold control characters that a terminal obeys (ESC sequences
// that clear the screen or move the cursor, the bell, a carriage return
// that writes over a warning), so every human-readable output (the table,
// --explain, the lines on standard error) passes its text through
// Printable. JSON has its own escaping and CSV keeps the text exact (see
// SpreadsheetCell): they do not use it.
#pragma once

#include <string>
#include <string_view>

// UTF-8 text with U+0000 to U+001F and U+007F written as \xHH and U+0080 to
// U+009F as \u00HH (hexadecimal digits in capitals); everything else as it
// stands. The tool's own texts hold no such characters, so a whole line of
// output may pass through it.
std::string Printable(std::string_view utf8);

// A CSV cell for a text: one that a spreadsheet would take for a formula
// (it begins with =, +, -, @, a tab or a carriage return) gets a leading
// apostrophe, which spreadsheets show as text; others stay exact.
std::string SpreadsheetCell(std::string_view text);
