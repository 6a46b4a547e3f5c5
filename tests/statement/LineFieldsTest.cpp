#include "LineFields.h"

#include "StatementTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Field n of a writable copy of `text` (the reader's line buffer is writable);
// PeekField must find the same text in the line it may not change.
std::string FieldOrNull(const std::string& text, int n) {
    std::vector<char> line(text.begin(), text.end());
    line.push_back('\0');
    FieldBuffer buffer, peeked;
    const char* field = GetField(line.data(), ',', n, buffer);
    const char* peek = PeekField(text.c_str(), ',', n, peeked);
    EXPECT_EQ(field ? field : "(null)", std::string(peek ? peek : "(null)")) << "PeekField";
    return field ? field : "(null)";
}

std::string Stripped(const char* text) {
    CString value(text);
    StripQuotes(value);
    return value.GetText();
}

}  // namespace

TEST(LineFields, CountFieldsAndCarryTheQuote) {
    const struct {
        const char* line;
        int quotedBefore, count, quotedAfter;
    } cases[] = {{"", 0, 1, 0}, {",,,,,,,", 0, 8, 0}, {"a,\"b,c\",d", 0, 3, 0}, {"a,b\"c,d", 0, 1, 1},
                 {"x\",y", 1, 2, 0}, {"a,b,c", 1, 0, 1}, {"\"\",\"\"", 0, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.line));
        int quoted = c.quotedBefore;
        EXPECT_EQ(c.count, CountFields(c.line, ',', quoted));
        EXPECT_EQ(c.quotedAfter, quoted);
    }
    int quoted = 0;
    EXPECT_EQ(0, CountFields(nullptr, ',', quoted));
    EXPECT_EQ(3, CountFields("a;b,c;d", ';', quoted));
}

TEST(LineFields, GetFieldReturnsFieldText) {
    const struct {
        const char* line;
        int n;
        const char* expected;
    } cases[] = {
        {"a,\"b,c\",d", 1, "a"}, {"a,\"b,c\",d", 2, "\"b,c\""}, {"a,\"b,c\",d", 3, "d"}, {"a,b,", 3, ""},
        {",,", 2, ""}, {"abc", 1, "(null)"}, {"a,b", 0, "(null)"}, {"a,b", -1, "(null)"}, {"a,b", 3, "(null)"},
        {"x,y,\"1,234.50\"\r", 3, "\"1,234.50\""}, {"\"x\",\"y\"", 1, "\"x\""}, {"\"x\",\"y\"", 2, "\"y\""},
        {"a,\"\"", 2, "\"\""}, {"a,12.50\r", 2, "12.50\r"},
        {"\"a\",b\"", 2, "\",b\""},  // the opening quote is the nearest one before the closing quote
        // no opening quote at position 1 or later: the field from where it began
        {"\"a,b\"", 1, "\"a,b\""}, {"a,b\"c", 2, "b\""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.line) + " field " + std::to_string(c.n));
        EXPECT_EQ(c.expected, FieldOrNull(c.line, c.n));
    }
    FieldBuffer buffer;
    EXPECT_EQ(nullptr, GetField(nullptr, ',', 1, buffer));
    EXPECT_EQ(nullptr, PeekField(nullptr, ',', 1, buffer));
}

TEST(LineFields, LastFieldCutsLineAfterClosingQuote) {
    FieldBuffer buffer;
    char line[] = "03/11/2011,DD,\"1,234.56\"\r";
    EXPECT_STREQ("\"1,234.56\"", GetField(line, ',', 3, buffer));
    EXPECT_STREQ("03/11/2011,DD,\"1,234.56\"", line);
    char plain[] = "a,b,c\r";
    EXPECT_STREQ("c\r", GetField(plain, ',', 3, buffer));
    EXPECT_STREQ("a,b,c\r", plain);
}

TEST(LineFields, FieldAfterLongerFieldHasNoLeftovers) {
    FieldBuffer buffer;
    char line[] = "ABCDEFGHIJ,xy,longer text,z";
    EXPECT_STREQ("ABCDEFGHIJ", GetField(line, ',', 1, buffer));
    EXPECT_STREQ("xy", GetField(line, ',', 2, buffer));
    EXPECT_STREQ("longer text", GetField(line, ',', 3, buffer));
    EXPECT_STREQ("z", GetField(line, ',', 4, buffer));
}

TEST(LineFields, FieldsLongerThan511BytesAreMissing) {
    const std::string longest(511, 'd'), tooLong(512, 'd');
    EXPECT_EQ(longest, FieldOrNull("a," + longest + ",c", 2));
    EXPECT_EQ(longest, FieldOrNull("a,b," + longest, 3));
    EXPECT_EQ("(null)", FieldOrNull("a," + tooLong + ",c", 2));
    EXPECT_EQ("(null)", FieldOrNull("a,b," + tooLong, 3));
    EXPECT_EQ("(null)", FieldOrNull("a,\"" + tooLong + "\"", 2));
    EXPECT_EQ("c", FieldOrNull("a," + tooLong + ",c", 3));
}

TEST(LineFields, StripQuotesRemovesOneEnclosingPair) {
    EXPECT_EQ("abc", Stripped("\"abc\""));
    EXPECT_EQ("", Stripped("\"\""));
    EXPECT_EQ("", Stripped(""));
    EXPECT_EQ("\"", Stripped("\""));
    EXPECT_EQ("\"abc", Stripped("\"abc"));
    EXPECT_EQ("abc\"", Stripped("abc\""));
    EXPECT_EQ("a\"b", Stripped("\"a\"b\""));
    EXPECT_EQ("\"abc\"", Stripped("\"\"abc\"\""));
}

TEST(LineFields, RemoveWhitespaceAndChars) {
    CString text(" a\tb\nc\vd\fe\rf \xa0g");
    RemoveWhitespace(text);
    EXPECT_STREQ("abcdef\xa0g", text.GetText());
    CString amount("-1,234.50");
    RemoveChars(amount, ",-");
    EXPECT_STREQ("1234.50", amount.GetText());
    CString sortCode("12-34-56");
    RemoveChars(sortCode, ",-");
    EXPECT_STREQ("123456", sortCode.GetText());
}
