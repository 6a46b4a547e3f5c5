#include "CString.h"

#include <gtest/gtest.h>

TEST(CString, DefaultIsEmpty) {
    CString text;
    EXPECT_EQ(0, text.GetLength());
    EXPECT_STREQ("", text.GetText());
}
