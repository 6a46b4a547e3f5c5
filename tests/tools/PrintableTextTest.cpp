// Text of a statement file as people see it: control characters escaped
// for the terminal, formulas kept from spreadsheets.
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

TEST(PrintableText, SpreadsheetCellsNeverStartAFormula) {
    const struct {
        const char *text, *cell;
    } cases[] = {{"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"}, {"+1", "'+1"}, {"-2", "'-2"}, {"@SUM(A1)", "'@SUM(A1)"},
                 {"\tX", "'\tX"}, {"\rX", "'\rX"}, {"PAYEE = 3", "PAYEE = 3"}, {"", ""}, {"'quoted", "'quoted"}};
    for (const auto& c : cases) EXPECT_EQ(c.cell, SpreadsheetCell(c.text)) << c.text;
}

}  // namespace
