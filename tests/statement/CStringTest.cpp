#include "CString.h"

#include "Platform.h"
#include "StatementTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kNullText = nullptr;
const wchar_t* const kNullWide = nullptr;

// Runs `action`, which must throw the long HRESULT `expected`.
template <typename Action>
void ExpectThrows(long expected, Action action) {
    try {
        action();
        ADD_FAILURE() << "nothing was thrown";
    } catch (long hr) {
        EXPECT_EQ(expected, hr);
    }
}

}  // namespace

TEST(CString, DefaultIsEmptyWithoutBuffer) {
    const CString text;
    EXPECT_EQ(0, text.GetLength());
    EXPECT_EQ(0, text.GetCapacity());
    ASSERT_NE(nullptr, text.GetText());
    EXPECT_STREQ("", text.GetText());
    EXPECT_EQ(-1, text.Find('a'));
    EXPECT_EQ(-1, text.ReverseFind('a'));
    EXPECT_EQ(0, text.Left(3).GetCapacity());
}

TEST(CString, CapacityGrowsExactlyAndNeverShrinks) {
    CString text("ABC");
    EXPECT_EQ(3, text.GetCapacity());
    text = "";
    EXPECT_EQ(3, text.GetCapacity());
    EXPECT_EQ(0, text.GetLength());
    text = "ABCDEFG";
    text = "AB";
    EXPECT_EQ(7, text.GetCapacity());
    text += "CDE";  // fits the buffer
    EXPECT_EQ(7, text.GetCapacity());
    text += "FGHI";  // grows to exactly the new length
    EXPECT_EQ(9, text.GetCapacity());
    EXPECT_STREQ("ABCDEFGHI", text.GetText());
    text = "XY";
    EXPECT_EQ(2, CString(text).GetCapacity());  // a copy holds the text, not the spare room
    EXPECT_EQ(0, CString("").GetCapacity());
}

TEST(CString, AppendingOneCharacterAtATimeGrowsByOne) {
    CString text;
    const std::string letters = "statement";
    for (size_t i = 0; i < letters.size(); ++i) {
        text += letters.substr(i, 1).c_str();
        EXPECT_EQ(static_cast<int>(i) + 1, text.GetCapacity());
    }
    text += "";
    text += CString();
    EXPECT_STREQ("statement", text.GetText());
    EXPECT_EQ(9, text.GetCapacity());
}

TEST(CString, AppendingToItself) {
    CString text("AB");
    text += text;  // must grow
    EXPECT_STREQ("ABAB", text.GetText());
    text = "XY";  // fits the buffer
    text += text;
    EXPECT_STREQ("XYXY", text.GetText());
    text += text.GetText();
    EXPECT_STREQ("XYXYXYXY", text.GetText());
}

TEST(CString, NullNarrowTextThrowsAndLeavesTextUnchanged) {
    ExpectThrows(E_INVALIDARG, [] { CString text(kNullText); });
    CString text("keep");
    ExpectThrows(E_INVALIDARG, [&] { text = kNullText; });
    ExpectThrows(E_INVALIDARG, [&] { text += kNullText; });
    ExpectThrows(E_INVALIDARG, [&] { text.Compare(kNullText); });
    ExpectThrows(E_INVALIDARG, [&] { text.Find(kNullText); });
    ExpectThrows(E_INVALIDARG, [] { CString().Find(kNullText); });
    EXPECT_STREQ("keep", text.GetText());
    EXPECT_EQ(4, text.GetCapacity());
}

TEST(CString, WideTextIsConvertedToTheAnsiCodePage) {
    EXPECT_STREQ("", CString(kNullWide).GetText());
    EXPECT_EQ(0, CString(kNullWide).GetCapacity());
    CString text(L"Sort code 12-34-56");
    EXPECT_STREQ("Sort code 12-34-56", text.GetText());
    EXPECT_EQ(18, text.GetCapacity());
    ASSERT_EQ(1252u, scratch::AnsiCodePage());
    text = L"Caf\u00e9";
    EXPECT_STREQ("Caf\xe9", text.GetText());
    text = kNullWide;
    EXPECT_STREQ("", text.GetText());
    EXPECT_EQ(18, text.GetCapacity());
}

TEST(CString, GetAtChecksBounds) {
    const CString text("ABC");
    EXPECT_EQ('A', text.GetAt(0));
    EXPECT_EQ('C', text.GetAt(2));
    EXPECT_EQ('B', text[1]);
    ExpectThrows(E_INVALIDARG, [&] { text.GetAt(3); });
    ExpectThrows(E_INVALIDARG, [&] { text.GetAt(-1); });
    ExpectThrows(E_INVALIDARG, [&] { text[3]; });
    ExpectThrows(E_INVALIDARG, [] { CString().GetAt(0); });
}

TEST(CString, LeftMidRight) {
    const CString abc("ABC");
    EXPECT_STREQ("CDE", CString("ABCDEFG").Mid(2, 3).GetText());
    EXPECT_STREQ("BC", abc.Mid(1, 10).GetText());
    EXPECT_STREQ("ABC", abc.Mid(0, 3).GetText());
    EXPECT_STREQ("", abc.Mid(3, 1).GetText());
    EXPECT_STREQ("", abc.Mid(1, 0).GetText());
    EXPECT_STREQ("ABC", abc.Left(10).GetText());
    EXPECT_STREQ("AB", abc.Left(2).GetText());
    EXPECT_STREQ("ABC", abc.Right(10).GetText());
    EXPECT_STREQ("BC", abc.Right(2).GetText());
    EXPECT_STREQ("", abc.Right(0).GetText());
    EXPECT_EQ(2, abc.Right(2).GetCapacity());  // results are sized exactly
    EXPECT_EQ(0, abc.Left(0).GetCapacity());
}

TEST(CString, Searches) {
    const CString text("ABCABC");
    EXPECT_EQ(1, text.Find('B'));
    EXPECT_EQ(4, text.ReverseFind('B'));
    EXPECT_EQ(-1, text.Find('Z'));
    EXPECT_EQ(-1, text.ReverseFind('Z'));
    EXPECT_EQ(2, text.Find("CA"));
    EXPECT_EQ(0, text.Find("ABC"));
    EXPECT_EQ(-1, text.Find("ABCD"));
    EXPECT_EQ(0, text.Find(""));
    EXPECT_EQ(-1, CString().Find(""));
    EXPECT_EQ(-1, CString().Find("A"));
    CString emptied("ABC");
    emptied = "";
    EXPECT_EQ(-1, emptied.Find('A'));
    EXPECT_EQ(-1, emptied.Find(""));
}

TEST(CString, CompareAndEquality) {
    const CString text("ABC");
    EXPECT_EQ(0, text.Compare("ABC"));
    EXPECT_LT(text.Compare("ABD"), 0);
    EXPECT_GT(text.Compare("AB"), 0);
    EXPECT_LT(text.Compare("abc"), 0);
    EXPECT_LT(CString("z").Compare("\xe9"), 0);  // bytes compare unsigned
    EXPECT_EQ(0, CString().Compare(""));
    EXPECT_TRUE(CString() == CString());
    CString roomy("ABCDEFG");
    roomy = "ABC";
    EXPECT_TRUE(roomy == text);
    EXPECT_FALSE(text == CString("ABCD"));
    EXPECT_FALSE(CString() == text);
}
