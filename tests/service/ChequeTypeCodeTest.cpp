// Short type codes of plain characters are told from "CHQ" as they stand;
// that must be what the locale's comparison says, for every one of them.
#include "StatementLineTexts.h"

#include <gtest/gtest.h>

TEST(ChequeTypeCode, EveryShortPlainCodeIsWhatTheLocaleSays) {
    const BStr code = BStr::Adopt(SysAllocStringLen(nullptr, 3));
    ASSERT_TRUE(code.Get());
    BSTR text = code.Get();
    long checked = 0, cheques = 0;
    const auto check = [&](int length) {
        text[length] = L'\0';
        const bool locale = CompareStringW(LOCALE_USER_DEFAULT, 0, text, -1, L"CHQ", -1) == CSTR_EQUAL;
        ++checked;
        cheques += locale;
        return IsChequeTypeCode(text) == locale;
    };
    ASSERT_TRUE(check(0));
    for (wchar_t a = 1; a < 0x80; ++a) {
        text[0] = a;
        ASSERT_TRUE(check(1)) << static_cast<int>(a);
        for (wchar_t b = 1; b < 0x80; ++b) {
            text[1] = b;
            ASSERT_TRUE(check(2)) << static_cast<int>(a) << " " << static_cast<int>(b);
            for (wchar_t c = 1; c < 0x80; ++c) {
                text[2] = c;
                ASSERT_TRUE(check(3)) << static_cast<int>(a) << " " << static_cast<int>(b) << " " << static_cast<int>(c);
            }
        }
    }
    EXPECT_EQ(1 + 127 + 127 * 127 + 127L * 127 * 127, checked);
    EXPECT_EQ(1, cheques);
}
