// Text of a statement file shown to people. A file's descriptions and
// fields can hold control characters that a terminal obeys (ESC sequences
// that clear the screen or move the cursor, the bell, a carriage return
// that writes over a warning), and characters that reorder or hide text
// (a right-to-left override that makes "04.28" show as "82.40", a
// zero-width space), so every human-readable output (the table, --explain,
// the lines on standard error, the HTML report) passes its text through
// Printable. JSON has its own escaping and keeps the text exact; CSV keeps
// the text exact but for the characters that reorder or hide text and the
// guard against formulas (see SpreadsheetCell).
#pragma once

#include <ostream>
#include <string>
#include <string_view>

// UTF-8 text with U+0000 to U+001F and U+007F written as \xHH, U+0080 to
// U+009F as \u00HH, and the characters that reorder or hide text as \uHHHH
// (hexadecimal digits in capitals; see ShowHiddenCharacters); everything
// else as it stands. The tool's own texts hold no such characters, so a
// whole line of output may pass through it.
std::string Printable(std::string_view utf8);
// Appends Printable(utf8) to `out`.
void AppendPrintable(std::string& out, std::string_view utf8);
// Writes a line for people: its text made printable, then a line feed.
void WriteForPeople(std::ostream& out, std::string_view text);

// UTF-8 text with only the characters that reorder or hide text written as
// \uHHHH: the bidirectional embeddings, overrides and isolates (U+202A to
// U+202E, U+2066 to U+2069), the zero-width and directional marks (U+200B to
// U+200F, U+061C), the word joiner (U+2060), the line and paragraph
// separators (U+2028, U+2029) and the zero-width no-break space (U+FEFF,
// which inside a line is no byte-order mark).
std::string ShowHiddenCharacters(std::string_view utf8);

// A CSV cell for a text, with its hidden characters shown: one that a
// spreadsheet would take for a formula gets a leading apostrophe, which
// spreadsheets show as text; others stay as they are. A spreadsheet takes
// for a formula a text that begins with =, +, -, @, |, a tab, a carriage
// return or a full-width =, +, - or @, after any spaces, no-break spaces and
// vertical tabs.
std::string SpreadsheetCell(std::string_view text);
// Appends SpreadsheetCell(text) to `out`.
void AppendSpreadsheetCell(std::string& out, std::string_view text);
