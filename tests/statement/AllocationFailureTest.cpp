// Allocations that fail (made to fail by the test countdown in
// AllocationFailure.h): the string throws E_OUTOFMEMORY and is left as
// documented, and the reader turns the failure into a false result with its
// diagnostic texts.
#include "AllocationFailure.h"
#include "CString.h"
#include "OrvaleOnlineForBusinessFile.h"

#include "StatementTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

using ::testing::ElementsAre;
using allocation_failure::FailAllocationsAfter;

namespace {

// What `operation` threw (a long HRESULT), or S_OK.
HRESULT Thrown(const std::function<void()>& operation) {
    try {
        operation();
    } catch (long hr) {
        return hr;
    }
    return S_OK;
}

const std::ios_base::openmode kBinary = std::ios::in | std::ios::binary;
const char* const kReadFailed = "Failed to read the Balance record\n";

}  // namespace

// Each operation that needs a new buffer, with the allocation failing: the
// E_OUTOFMEMORY thrown, and what the string holds afterwards. Assignment
// drops the old buffer before allocating, so it leaves the string empty with
// no buffer; an append allocates before it lets go, so the text stays.
TEST(AllocationFailure, StringThrowsOutOfMemoryAndIsLeftAsDocumented) {
    const struct {
        const char* what;
        int allowed;  // allocations before the one under test (an argument string's own)
        std::function<void(CString&)> operation;
        const char* textAfter;
        int capacityAfter;
    } cases[] = {
        {"assign longer text", 0, [](CString& s) { s = "ABCDEF"; }, "", 0},
        {"assign longer string", 1, [](CString& s) { s = CString("ABCDEF"); }, "", 0},
        {"assign longer wide text", 0, [](CString& s) { s = L"ABCDEF"; }, "", 0},
        {"append text", 0, [](CString& s) { s += "CD"; }, "AB", 2},
        {"append string", 1, [](CString& s) { s += CString("CD"); }, "AB", 2},
        {"Left", 0, [](CString& s) { (void)s.Left(1); }, "AB", 2},
        {"Mid", 0, [](CString& s) { (void)s.Mid(1, 1); }, "AB", 2},
        {"Right", 0, [](CString& s) { (void)s.Right(1); }, "AB", 2},
        {"copy", 0, [](CString& s) { const CString copy(s); }, "AB", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CString text("AB");
        {
            const FailAllocationsAfter failing(c.allowed);
            EXPECT_EQ(E_OUTOFMEMORY, Thrown([&] { c.operation(text); }));
            EXPECT_EQ(0, failing.Unused()) << "the allocation refused was the one under test";
        }
        EXPECT_STREQ(c.textAfter, text.GetText());
        EXPECT_EQ(c.capacityAfter, text.GetCapacity());
        EXPECT_EQ(S_OK, Thrown([&] { c.operation(text); })) << "works again once allocations do";
    }
}

TEST(AllocationFailure, StringNeedingNoNewBufferDoesNotAllocate) {
    CString text("ABCDEF");
    const FailAllocationsAfter failing(0);
    EXPECT_EQ(S_OK, Thrown([&] {
                  text = "XY";
                  text += "Z";
                  text = "";
                  (void)text.Left(0);
                  const CString empty;
                  const CString copyOfEmpty(empty);
              }));
    EXPECT_EQ(E_OUTOFMEMORY, Thrown([&] { const CString made("A"); }));
}

// The countdown counts: each one-character append to a string with no room
// allocates, so the third of three fails when two are allowed.
TEST(AllocationFailure, CountdownAllowsExactlyTheGivenNumber) {
    CString text;
    const FailAllocationsAfter failing(2);
    EXPECT_EQ(S_OK, Thrown([&] { text += "A"; }));
    EXPECT_EQ(S_OK, Thrown([&] { text += "B"; }));
    EXPECT_EQ(E_OUTOFMEMORY, Thrown([&] { text += "C"; }));
    EXPECT_STREQ("AB", text.GetText());
}

// Opening: for every allocation the format check makes, failing it makes the
// file not valid with the two texts of a failed open; once enough
// allocations are allowed the file is recognised.
TEST(AllocationFailure, ReaderOpenTurnsFailureIntoNotValid) {
    const std::string path = FixturePath("date_first_header_crlf.csv");
    int allowed = 0;
    for (; allowed < 100; ++allowed) {
        SCOPED_TRACE(allowed);
        DebugCapture capture;
        bool valid = false;
        int unused = 0;
        {
            const FailAllocationsAfter failing(allowed);
            valid = OrvaleOnlineForBusinessFile(path.c_str(), kBinary).IsValid();
            unused = failing.Unused();
        }
        if (valid) {
            EXPECT_THAT(capture.Texts(), ElementsAre());
            break;
        }
        EXPECT_EQ(0, unused) << "only a refused allocation makes this file fail";
        EXPECT_THAT(capture.Texts(), ElementsAre("Failed to Open the file: ", path,
                                                 "OrvaleOnlineForBusinessFile() failed to open: ", path));
    }
    EXPECT_GT(allowed, 0) << "the format check allocates";
    EXPECT_LT(allowed, 100);
}

// Reading: for every allocation a transaction read makes, failing it makes
// ReadTransaction return false with its text and the record in its reset
// state; once enough are allowed the line is read.
TEST(AllocationFailure, ReaderReadTurnsFailureIntoFalse) {
    const std::string path = FixturePath("account_first_lf_no_final_newline.csv");
    int allowed = 0;
    for (; allowed < 100; ++allowed) {
        SCOPED_TRACE(allowed);
        OrvaleOnlineForBusinessFile file(path.c_str(), kBinary);
        ASSERT_TRUE(file.IsValid());
        file.SkipHeaderLine();
        CTransactionRecord record;
        DebugCapture capture;
        bool read = false;
        int unused = 0;
        {
            const FailAllocationsAfter failing(allowed);
            read = file.ReadTransaction(record);
            unused = failing.Unused();
        }
        if (read) {
            EXPECT_STREQ("CARD PAYMENT STATIONERS", record.GetDescription().GetText());
            EXPECT_THAT(capture.Texts(), ElementsAre());
            break;
        }
        EXPECT_EQ(0, unused) << "only a refused allocation makes this line fail";
        EXPECT_THAT(capture.Texts(), ElementsAre(kReadFailed));
        EXPECT_EQ(0, record.GetSortCode().GetLength());
        EXPECT_EQ(0, record.GetDescription().GetLength());
        EXPECT_EQ(0.0, record.GetDebitAmount());
        EXPECT_EQ(0.0, record.GetDate());
        EXPECT_EQ(2, record.GetLayout());
    }
    EXPECT_GT(allowed, 0) << "reading a line allocates";
    EXPECT_LT(allowed, 100);
}
