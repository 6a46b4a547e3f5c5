// Text of a statement file as people see it: control characters and the
// characters that reorder or hide text escaped for the terminal, formulas
// kept from spreadsheets.
#include "PrintableText.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintableText, ControlCharactersAreEscaped) {
    const struct {
        std::string text, shown;
    } cases[] = {
        {"PAYEE 42", "PAYEE 42"},
        {std::string("A\0B", 3), "A\\x00B"},
        {"\x1B[2J\x07\r\t\n", "\\x1B[2J\\x07\\x0D\\x09\\x0A"},
        {"DEL\x7F", "DEL\\x7F"},
        {"\xC2\x80\xC2\x9B\xC2\x9F", "\\u0080\\u009B\\u009F"},
        {"\xC2\xA3 \xC2\xA0 CAF\xC3\x89 \xE2\x82\xAC", "\xC2\xA3 \xC2\xA0 CAF\xC3\x89 \xE2\x82\xAC"},
        {"cut \xC2", "cut \xC2"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, Printable(c.text)) << c.shown;
}

// Each character that reorders or hides text, the first and the last of
// each range, and their neighbours that stay as they are; the CSV cell
// shows them as the terminal does, and keeps control characters exact.
TEST(PrintableText, CharactersThatReorderOrHideTextAreEscaped) {
    const struct {
        std::string text, shown;
    } cases[] = {
        {"ACME LTD \xE2\x80\xAE", "ACME LTD \\u202E"},
        {"\xE2\x80\xAE" "04.28", "\\u202E04.28"},
        {"\xE2\x80\xAA\xE2\x80\xAB\xE2\x80\xAC\xE2\x80\xAD", "\\u202A\\u202B\\u202C\\u202D"},
        {"\xE2\x81\xA6\xE2\x81\xA7\xE2\x81\xA8\xE2\x81\xA9", "\\u2066\\u2067\\u2068\\u2069"},
        {"A\xE2\x80\x8B" "B\xE2\x80\x8C\xE2\x80\x8D\xE2\x80\x8E\xE2\x80\x8F", "A\\u200BB\\u200C\\u200D\\u200E\\u200F"},
        {"\xD8\x9C", "\\u061C"},
        {"\xE2\x81\xA0", "\\u2060"},
        {"\xE2\x80\xA8\xE2\x80\xA9", "\\u2028\\u2029"},
        {"A\xEF\xBB\xBF" "B", "A\\uFEFFB"},
        {"\xEF\xBB\xBF", "\\uFEFF"},
        // Neighbours: U+200A, U+2010, U+2027, U+202F, U+2061, U+2065, U+206A, U+061B, U+FEFE, U+FF1D.
        {"\xE2\x80\x8A\xE2\x80\x90\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA1\xE2\x81\xA5\xE2\x81\xAA\xD8\x9B\xEF\xBB\xBE"
         "\xEF\xBC\x9D",
         "\xE2\x80\x8A\xE2\x80\x90\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA1\xE2\x81\xA5\xE2\x81\xAA\xD8\x9B\xEF\xBB\xBE"
         "\xEF\xBC\x9D"},
        {"cut \xE2\x80", "cut \xE2\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.shown, Printable(c.text)) << c.shown;
        EXPECT_EQ(c.shown, ShowHiddenCharacters(c.text)) << c.shown;
    }
    EXPECT_EQ("\x1B[2J\\u202E\t", ShowHiddenCharacters("\x1B[2J\xE2\x80\xAE\t"));
    EXPECT_EQ("\\x1B[2J\\u202E\\x09", Printable("\x1B[2J\xE2\x80\xAE\t"));
}

TEST(PrintableText, SpreadsheetCellsNeverStartAFormula) {
    const struct {
        const char *text, *cell;
    } cases[] = {
        {"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"}, {"+1", "'+1"}, {"-2", "'-2"}, {"@SUM(A1)", "'@SUM(A1)"},
        {"\tX", "'\tX"}, {"\rX", "'\rX"}, {"|cmd", "'|cmd"},
        // Full-width =, +, - and @.
        {"\xEF\xBC\x9D" "1+1", "'\xEF\xBC\x9D" "1+1"}, {"\xEF\xBC\x8B" "1", "'\xEF\xBC\x8B" "1"},
        {"\xEF\xBC\x8D" "1", "'\xEF\xBC\x8D" "1"}, {"\xEF\xBC\xA0SUM(A1)", "'\xEF\xBC\xA0SUM(A1)"},
        // Spaces, no-break spaces and vertical tabs before any of them.
        {" =1", "' =1"}, {"   +1", "'   +1"}, {"\xC2\xA0-1", "'\xC2\xA0-1"}, {"\v@A1", "'\v@A1"},
        {" \xC2\xA0\v \t1", "' \xC2\xA0\v \t1"}, {"\v\r1", "'\v\r1"}, {"  |cmd", "'  |cmd"},
        {"\xC2\xA0\xEF\xBC\x9D" "1", "'\xC2\xA0\xEF\xBC\x9D" "1"}, {" \xEF\xBC\xA0" "A1", "' \xEF\xBC\xA0" "A1"},
        // Hidden characters are shown before the guard looks.
        {"\xE2\x80\x8B=1", "\\u200B=1"}, {"=\xE2\x80\xAE" "1", "'=\\u202E1"},
        // Texts that begin no formula.
        {"PAYEE = 3", "PAYEE = 3"}, {"", ""}, {"'quoted", "'quoted"}, {"   ", "   "}, {"\xC2\xA0" "A", "\xC2\xA0" "A"},
        {"A|B", "A|B"}, {"\xEF\xBC\xA1", "\xEF\xBC\xA1"}, {"\xC2\xA3" "1", "\xC2\xA3" "1"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.cell, SpreadsheetCell(c.text)) << c.text;
}

}  // namespace
