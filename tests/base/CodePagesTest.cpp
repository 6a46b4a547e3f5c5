// The conversions between narrow and wide text: which flags a strict
// conversion may ask of each kind of code page, what becomes of a path that a
// code page cannot show, and the UTF-8 reading of bytes that are not UTF-8.
#include "CodePages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePages, StrictConversionAsksOnlyForWhatTheCodePageTakes) {
    const struct {
        unsigned codePage;
        unsigned long flags;
        bool reportsDefaultCharacter;
    } cases[] = {{1252, WC_NO_BEST_FIT_CHARS, true},  {932, WC_NO_BEST_FIT_CHARS, true},
                 {CP_UTF8, WC_ERR_INVALID_CHARS, false}, {CP_UTF7, 0, false},
                 {50220, 0, false},                      {42, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        const StrictConversion strict = StrictConversionFor(c.codePage);
        EXPECT_EQ(c.flags, strict.flags);
        EXPECT_EQ(c.reportsDefaultCharacter, strict.reportsDefaultCharacter);
    }
}

// Text is widened byte by byte only where the code page reads bytes below
// 0x80 as themselves: not in UTF-7 ('+' opens a run of base64) nor in the
// symbol code page (42).
TEST(CodePages, PlainBytesAreThemselvesOnlyWhereTheCodePageSaysSo) {
    const struct {
        unsigned codePage;
        bool themselves;
    } cases[] = {{1252, true}, {932, true}, {CP_UTF8, true}, {CP_ACP, true}, {CP_UTF7, false}, {42, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        EXPECT_EQ(c.themselves, ReadsPlainBytesAsThemselves(c.codePage));
    }
    wchar_t wide[4] = {};
    EXPECT_TRUE(WidenPlainText("a+\x7f", 3, wide));
    EXPECT_STREQ(L"a+\x7f", wide);
    EXPECT_FALSE(WidenPlainText("a\x80", 2, wide));
}

TEST(CodePages, PathIsConvertedWholeOrRefused) {
    const struct {
        unsigned codePage;
        const wchar_t* path;
        NarrowPath outcome;
        const char* narrow;
    } cases[] = {
        {1252, L"C:\\Caf\u00e9\\a.csv", NarrowPath::Converted, "C:\\Caf\xe9\\a.csv"},
        {1252, L"C:\\\u4e2d.csv", NarrowPath::Unrepresentable, ""},
        {1252, L"C:\\\u0100.csv", NarrowPath::Unrepresentable, ""},  // no best-fit A for A with macron
        {CP_UTF8, L"C:\\\u4e2d.csv", NarrowPath::Converted, "C:\\\xe4\xb8\xad.csv"},
        {CP_UTF8, L"C:\\\xd800.csv", NarrowPath::Unrepresentable, ""},  // a lone surrogate
        {1252, L"", NarrowPath::Converted, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        char narrow[16] = {};
        ASSERT_EQ(c.outcome, PathToCodePage(c.codePage, c.path, static_cast<int>(wcslen(c.path)), narrow, sizeof narrow));
        if (c.outcome == NarrowPath::Converted) {
            EXPECT_STREQ(c.narrow, narrow);
        }
    }
    char small[4];
    EXPECT_EQ(NarrowPath::TooLong, PathToCodePage(1252, L"abcd", 4, small, sizeof small));
}

TEST(CodePages, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    const struct {
        std::string bytes;
        std::wstring text;
    } cases[] = {{"CAF\xc3\x89", L"CAF\u00c9"},
                 {"A\xff" "B", L"A\ufffd" L"B"},
                 {"\xc3\xa9\xe2", L"\u00e9\ufffd"},  // a character cut after its first byte
                 {"", L""}};
    for (const auto& c : cases) {
        const BStr text = Utf8ToBstr(c.bytes.data(), static_cast<int>(c.bytes.size()));
        ASSERT_NE(nullptr, text.Get());
        EXPECT_EQ(c.text, std::wstring(text.Get(), text.Length()));
    }
}

}  // namespace
