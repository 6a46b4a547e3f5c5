#include "OrvaleOnlineForBusinessFile.h"

#include "AllocationFailure.h"

#include "StatementTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::string_literals;

namespace {

const char* const kMismatch =
    "File has correct number of Orvale Online For Business fields, but does not exactly match the criteria in "
    "fields 2 and/or 4";
const char* const kReadFailed = "Failed to read the Balance record\n";
const char* const kNotOpen = "File Stream is NOT open";
const char* const kFailed = "(failed)";
const std::ios_base::openmode kText = std::ios::in;
const std::ios_base::openmode kBinary = std::ios::in | std::ios::binary;
const std::string kGoodLine = "03/11/2011,DD,12-34-56,12345678,GOOD,10.00,,90.00";
const std::string kGoodAccountFirstLine = "12-34-56,12345678,03NOV11,DEB,GOOD,10.00,,90.00";

// Sort code, account number, date text, type code, description, debit,
// credit, balance, debit flag, date, layout.
using Row = std::tuple<std::string, std::string, std::string, std::string, std::string, double, double, double, int,
                       DATE, int>;

Row RowOf(const CTransactionRecord& r) {
    return {r.GetSortCode().GetText(), r.GetAccountNumber().GetText(), r.GetDateText().GetText(),
            r.GetTypeCode().GetText(), r.GetDescription().GetText(), r.GetDebitAmount(), r.GetCreditAmount(),
            r.GetBalance(), r.GetIsDebit(), r.GetDate(), r.GetLayout()};
}

Row ResetRow(int layout) { return {"", "", "", "", "", 0, 0, 0, 0, 0, layout}; }

// Reads a statement the way the import does: header skipped, then records
// until the first read that fails.
std::vector<Row> ReadAfterSkip(OrvaleOnlineForBusinessFile& file) {
    std::vector<Row> rows;
    file.SkipHeaderLine();
    CTransactionRecord record;
    while (file.ReadTransaction(record)) rows.push_back(RowOf(record));
    return rows;
}

std::vector<Row> ReadStatement(const char* path, std::ios_base::openmode mode) {
    OrvaleOnlineForBusinessFile file(path, mode);
    return file.IsValid() ? ReadAfterSkip(file) : std::vector<Row>();
}

// The description of each of `count` reads after the header skip, or
// kFailed for a read that failed and left the record in its reset state.
std::vector<std::string> Reads(const char* path, int count) {
    OrvaleOnlineForBusinessFile file(path, kBinary);
    file.SkipHeaderLine();
    CTransactionRecord record;
    std::vector<std::string> outcomes;
    for (int i = 0; i < count; ++i) {
        if (file.ReadTransaction(record))
            outcomes.push_back(record.GetDescription().GetText());
        else
            outcomes.push_back(RowOf(record) == ResetRow(file.GetLayout()) ? kFailed : "(failed, not reset)");
    }
    return outcomes;
}

std::string Padded(const std::string& text, size_t width) { return std::string(width - text.size(), ' ') + text; }

}  // namespace

struct StatementCase {
    const char* fixture;
    std::vector<Row> expected;
    std::ios_base::openmode mode = kText;
};

void PrintTo(const StatementCase& c, std::ostream* out) {
    *out << c.fixture << (c.mode == kText ? " text" : " binary");
}

std::vector<StatementCase> InBothModes(std::vector<StatementCase> cases) {
    std::vector<StatementCase> both;
    for (StatementCase& c : cases) {
        both.push_back({c.fixture, c.expected, kText});
        both.push_back({c.fixture, c.expected, kBinary});
    }
    return both;
}

class StatementFileRecords : public ::testing::TestWithParam<StatementCase> {};

TEST_P(StatementFileRecords, ReadsEveryTransaction) {
    const std::string path = FixturePath(GetParam().fixture);
    DebugCapture capture;
    EXPECT_EQ(GetParam().expected, ReadStatement(path.c_str(), GetParam().mode));
    EXPECT_THAT(capture.Texts(), ElementsAre(kReadFailed));  // only the read past the end
}

INSTANTIATE_TEST_SUITE_P(
    StatementFile, StatementFileRecords,
    ::testing::ValuesIn(InBothModes({
        {"date_first_header_crlf.csv",
         {{"123456", "12345678", "03/11/2011", "DD", "ORVALE ENERGY REF 4471", 45.2, 0, 1954.8, 1, 40850, 1},
          {"123456", "12345678", "04/11/2011", "CHQ", "CHEQUE 000123", 1250, 0, 704.8, 1, 40851, 1},
          {"123456", "12345678", "07/11/2011", "BGC", "PAYROLL NOV . 2011", 0, 2500, 3204.8, 0, 40854, 1},
          {"123456", "12345678", "08/11/2011", "FPO", "SUPPLIER, LTD", 12.5, 0, 3192.3, 1, 40855, 1}}},
        {"account_first_lf_no_final_newline.csv",
         {{"123456", "12345678", "03NOV11", "DEB", "CARD PAYMENT STATIONERS", 23.99, 0, 976.01, 1, 40850, 2},
          {"654321", "87654321", "04-Nov-11", "BGC", "REFUND", 0, 5, 981.01, 0, 40851, 2},
          {"123456", "12345678", "05nov11", "SO", "RENT DEC", 650, 0, 331.01, 1, 40852, 2}}},
        // its first line, of another field count, is passed over
        {"other_field_count_first.csv",
         {{"123456", "12345678", "03/11/2011", "DD", "FIRST", 10, 0, 90, 1, 40850, 1}}},
    })));

// A UTF-8 byte-order mark before the first line is passed over: the same
// records as the files without it, with and without a header, in both layouts.
const std::vector<Row> kDateFirstRows = {
    {"123456", "12345678", "03/11/2011", "DD", "ORVALE ENERGY REF 4471", 45.2, 0, 1954.8, 1, 40850, 1},
    {"123456", "12345678", "04/11/2011", "CHQ", "CHEQUE 000123", 1250, 0, 704.8, 1, 40851, 1},
    {"123456", "12345678", "07/11/2011", "BGC", "PAYROLL NOV . 2011", 0, 2500, 3204.8, 0, 40854, 1},
    {"123456", "12345678", "08/11/2011", "FPO", "SUPPLIER, LTD", 12.5, 0, 3192.3, 1, 40855, 1}};
const std::vector<Row> kAccountFirstRows = {
    {"123456", "12345678", "03NOV11", "DEB", "CARD PAYMENT STATIONERS", 23.99, 0, 976.01, 1, 40850, 2},
    {"654321", "87654321", "04-Nov-11", "BGC", "REFUND", 0, 5, 981.01, 0, 40851, 2},
    {"123456", "12345678", "05nov11", "SO", "RENT DEC", 650, 0, 331.01, 1, 40852, 2}};

INSTANTIATE_TEST_SUITE_P(ByteOrderMark, StatementFileRecords,
                         ::testing::ValuesIn(InBothModes({
                             {"bom_date_first_header_crlf.csv", kDateFirstRows},
                             {"bom_date_first_no_header_crlf.csv", kDateFirstRows},
                             {"bom_account_first_header.csv", kAccountFirstRows},
                             {"bom_account_first_no_header.csv", kAccountFirstRows},
                         })));

// Only the whole mark, and only at the very start, is passed over: a file
// that merely begins with its first byte or two keeps them in its first
// field, and a mark at the start of a later line stays part of that line.
TEST(StatementFile, OnlyAWholeByteOrderMarkAtTheStartIsPassedOver) {
    const std::string mark = "\xEF\xBB\xBF";
    const struct {
        std::string bytes;
        std::vector<std::string> dateTexts;  // of every record read after the header skip
    } cases[] = {
        {mark + kGoodLine + "\n", {"03/11/2011"}},
        {mark + "Transaction history\n" + kGoodLine + "\n", {"03/11/2011"}},
        {"\xEF\xBB" + kGoodLine + "\n", {"\xEF\xBB" "03/11/2011"}},
        {"\xEF" + kGoodLine + "\n", {"\xEF" "03/11/2011"}},
        {kGoodLine + "\n" + mark + kGoodLine + "\n", {"03/11/2011", mark + "03/11/2011"}},
        {mark + mark + kGoodLine + "\n", {mark + "03/11/2011"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.bytes));
        const ScratchFile scratch(c.bytes);
        for (const auto mode : {kText, kBinary}) {
            OrvaleOnlineForBusinessFile file(scratch.Path(), mode);
            ASSERT_TRUE(file.IsValid());
            ASSERT_EQ(1, file.GetLayout());
            file.SkipHeaderLine();
            CTransactionRecord record;
            std::vector<std::string> dateTexts;
            while (file.ReadTransaction(record)) dateTexts.push_back(record.GetDateText().GetText());
            EXPECT_EQ(c.dateTexts, dateTexts);
        }
    }
}

TEST(StatementFile, ByteOrderMarkAloneIsAnEmptyFile) {
    for (const char* bytes : {"\xEF\xBB\xBF", "\xEF\xBB\xBF\n", "\xEF\xBB"}) {
        SCOPED_TRACE(Printable(bytes));
        const ScratchFile scratch(bytes);
        DebugCapture capture;
        EXPECT_FALSE(OrvaleOnlineForBusinessFile(scratch.Path(), kBinary).IsValid());
        EXPECT_THAT(capture.Texts(), ElementsAre(scratch.Path()));
    }
}

// Each line is read into a record that already holds the debit line before it.
TEST(StatementFile, LineFillsRecord) {
    const struct {
        const char* line;
        Row expected;
    } cases[] = {
        {"03/11/2011,DD,,12345678,NO SORT CODE,,,",
         {"", "12345678", "03/11/2011", "DD", "NO SORT CODE", 0, 0, 0, 0, 40850, 1}},
        {"03/11/2011,TFRX,\"12,34,56,78\",123456789012,LONG,,5.00,1.00",
         {"123456", "12345678", "03/11/2011", "TFR", "LONG", 0, 5, 1, 0, 40850, 1}},
        {"03/11/2011, DDX,12-34-56,12345678,TINY,0.000005,0.00001,0.000005",
         {"123456", "12345678", "03/11/2011", " DD", "TINY", 0, 0.00001, 0, 0, 40850, 1}},
        {"\"03/11/2011\",\"DD\",12-34-56,12345678,BOTH,1.00,2.00,-3.00",
         {"123456", "12345678", "03/11/2011", "DD", "BOTH", 0, 0, 3, 0, 40850, 1}},
        {"12-34-56,123456789,03-nov-11,DEBIT,\" . \",,,",
         {"123456", "12345678", "03-nov-11", "DEB", " ", 0, 0, 0, 0, 40850, 2}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const int layout = std::get<10>(c.expected);
        const std::string first = layout == 1 ? kGoodLine : kGoodAccountFirstLine;
        const ScratchFile scratch(first + "\n" + c.line + "\n");
        OrvaleOnlineForBusinessFile file(scratch.Path(), kBinary);
        EXPECT_EQ(layout, file.GetLayout());
        CTransactionRecord record;
        EXPECT_TRUE(file.ReadTransaction(record));
        EXPECT_TRUE(file.ReadTransaction(record));
        EXPECT_EQ(c.expected, RowOf(record));
    }
}

// A line carries the amount of its debit or its credit only when both
// fields read (Amounts.h) and no more than one holds an amount; otherwise it
// carries none, says why, and the debugger output names its line and field.
// A balance that does not read is no balance and changes nothing else.
TEST(StatementFile, LineWhoseDebitOrCreditIsNoAmountCarriesNone) {
    using Refusal = CTransactionRecord::AmountRefusal;
    const struct {
        const char* amounts;  // fields 6 to 8
        double debit, credit, balance;
        Refusal refusal;
        const char* said;  // the debugger text, after "Line 3: "
    } cases[] = {
        {"\"82,40\",,", 0, 0, 0, Refusal::DebitUnreadable, "field 6 (debit) is not an amount"},
        {"\"1.250,00\",,", 0, 0, 0, Refusal::DebitUnreadable, "field 6 (debit) is not an amount"},
        {"50.00 CR,,", 0, 0, 0, Refusal::DebitUnreadable, "field 6 (debit) is not an amount"},
        {",1e308,", 0, 0, 0, Refusal::CreditUnreadable, "field 7 (credit) is not an amount"},
        {"82.40,inf,", 0, 0, 0, Refusal::CreditUnreadable, "field 7 (credit) is not an amount"},
        {"1.23E+03,12345678901234567890123456789012,", 0, 0, 0, Refusal::BothUnreadable,
         "fields 6 and 7 (debit and credit) are not amounts"},
        {"82.40,10.00,", 0, 0, 0, Refusal::BothGiven, "fields 6 and 7 (debit and credit) both hold an amount"},
        {"82.40,0.00,", 82.4, 0, 0, Refusal::None, nullptr},
        {"0.00,10.00,5.00", 0, 10, 5, Refusal::None, nullptr},
        {" - , - ,\"1,234.56\"", 0, 0, 1234.56, Refusal::None, nullptr},
        {"\"1\xA0" "250.00\",,-12.50", 1250, 0, 12.5, Refusal::None, nullptr},
        {"82.40,,1e5", 82.4, 0, 0, Refusal::None, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.amounts));
        const ScratchFile scratch("Transaction history\n" + kGoodLine + "\n03/11/2011,DD,12-34-56,12345678,PAYEE," +
                                  c.amounts + "\n");
        OrvaleOnlineForBusinessFile file(scratch.Path(), kBinary);
        file.SkipHeaderLine();
        CTransactionRecord record;
        ASSERT_TRUE(file.ReadTransaction(record));
        DebugCapture capture;
        ASSERT_TRUE(file.ReadTransaction(record));
        EXPECT_EQ(c.debit, record.GetDebitAmount());
        EXPECT_EQ(c.credit, record.GetCreditAmount());
        EXPECT_EQ(c.debit > 0 ? 1 : 0, record.GetIsDebit());
        EXPECT_EQ(c.balance, record.GetBalance());
        EXPECT_EQ(c.refusal, record.GetAmountRefusal());
        if (c.said)
            EXPECT_THAT(capture.Texts(), ElementsAre("Line 3: "s + c.said + "; the line carries no amount\n"));
        else
            EXPECT_THAT(capture.Texts(), IsEmpty());
    }
}

// The no-break space of a UTF-8 file is its two bytes C2 A0.
TEST(StatementFile, AmountsOfAUtf8FileDropItsNoBreakSpace) {
    const ScratchFile scratch("\xEF\xBB\xBF" + kGoodLine + "\n03/11/2011,DD,12-34-56,12345678,CAF\xC3\x89,\"1\xC2\xA0" "250.00\",,\n");
    OrvaleOnlineForBusinessFile file(scratch.Path(), kBinary);
    ASSERT_TRUE(file.IsUtf8());
    CTransactionRecord record;
    ASSERT_TRUE(file.ReadTransaction(record));
    ASSERT_TRUE(file.ReadTransaction(record));
    EXPECT_EQ(1250, record.GetDebitAmount());
}

// Files that quote every field quote the type code too: its quotes go, then
// the whitespace at both ends of what they enclosed (tabs and carriage
// returns as spaces), and then the first 3 characters are kept. An unquoted
// type code is kept as written, a space before it included. In both layouts.
TEST(StatementFile, QuotedTypeCodeLosesItsQuotesAndThenItsEndWhitespace) {
    const struct {
        const char* written;
        const char* kept;
    } cases[] = {{"\"CHQ\"", "CHQ"}, {"\"CHG\"", "CHG"}, {"\" CHQ \"", "CHQ"}, {"\"  DD\"", "DD"},
                 {"\"D D\"", "D D"}, {"\"DIRECT DEBIT\"", "DIR"}, {"\"  \"", ""}, {"\"\"", ""},
                 {"\"\"\"Q\"\"\"", "\"\"Q"}, {" CHQ", " CH"}, {"CHQ ", "CHQ"}, {"\"DD\" ", "\"DD"},
                 {"\"\tCHQ\"", "CHQ"}, {"\"CHQ\t \"", "CHQ"}, {"\"\v\f\rDD\r\"", "DD"}, {"\"\t\"", ""},
                 {"\tCHQ", "\tCH"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        for (const int layout : {1, 2}) {
            const std::string line = layout == 1 ? "03/11/2011,"s + c.written + ",12-34-56,12345678,CODE,1.00,,0"
                                                 : "12-34-56,12345678,03NOV11,"s + c.written + ",CODE,1.00,,0";
            const ScratchFile scratch((layout == 1 ? kGoodLine : kGoodAccountFirstLine) + "\n" + line + "\n");
            OrvaleOnlineForBusinessFile file(scratch.Path(), kBinary);
            ASSERT_EQ(layout, file.GetLayout());
            CTransactionRecord record;
            ASSERT_TRUE(file.ReadTransaction(record));
            ASSERT_TRUE(file.ReadTransaction(record));
            EXPECT_STREQ(c.kept, record.GetTypeCode().GetText()) << "layout " << layout;
        }
    }
}

// The text of each line stays in the reader's buffer until the next read,
// as the record was read from it.
TEST(StatementFile, LastLineIsTheLineJustRead) {
    const std::string quotedLast = "03/11/2011,DD,12-34-56,12345678,Q,1.00,,\"1,234.00\"";
    const ScratchFile scratch("Transaction history\r\n" + kGoodLine + "\r\n" + quotedLast + "\r\n\r\n" +
                              std::string(2048, 'x') + "\n" + kGoodLine);
    OrvaleOnlineForBusinessFile file(scratch.Path(), kBinary);
    file.SkipHeaderLine();
    std::vector<std::string> lines = {file.LastLine()};
    CTransactionRecord record;
    for (int read = 0; read < 6; ++read) {
        file.ReadTransaction(record);
        lines.emplace_back(file.LastLine());
    }
    EXPECT_THAT(lines, ElementsAre("Transaction history\r", kGoodLine + "\r", quotedLast, "\r", "", kGoodLine, ""));
}

TEST(StatementFile, RejectedFilesReportThePath) {
    for (const char* fixture : {"empty.csv", "header_only.csv", "missing_file.csv"}) {
        const std::string path = FixturePath(fixture);
        DebugCapture capture;
        EXPECT_FALSE(OrvaleOnlineForBusinessFile(path.c_str(), kBinary).IsValid()) << fixture;
        EXPECT_THAT(capture.Texts(), ElementsAre(path)) << fixture;
    }
}

TEST(StatementFile, FirstEightFieldLineDecidesAlone) {
    const std::string path = FixturePath("eight_field_header.csv");
    DebugCapture capture;
    OrvaleOnlineForBusinessFile file(path.c_str(), kBinary);
    EXPECT_FALSE(file.IsValid());
    EXPECT_THAT(capture.Texts(), ElementsAre(kMismatch, path));
    // Without a layout no line is a transaction line, not even a good one.
    EXPECT_THAT(Reads(path.c_str(), 2), ElementsAre(kFailed, kFailed));
}

TEST(StatementFile, OnlyTheFirstTwoLinesAreExamined) {
    const std::string mismatch = "03/11/2011,TRANSFERS,12-34-56,12345678,D,1.00,,2.00";
    const ScratchFile goodSecond("Account summary\n" + kGoodLine + "\n");
    const ScratchFile badSecond("Account summary\n" + mismatch + "\n" + kGoodLine + "\n");
    const ScratchFile goodThird("Account summary\n\n" + kGoodLine + "\n");
    DebugCapture capture;
    EXPECT_TRUE(OrvaleOnlineForBusinessFile(goodSecond.Path(), kText).IsValid());
    EXPECT_THAT(capture.Texts(), IsEmpty());
    EXPECT_THAT(Reads(goodSecond.Path(), 3), ElementsAre("GOOD", kFailed, kFailed)) << "the first line is passed over";
    capture.Clear();
    EXPECT_FALSE(OrvaleOnlineForBusinessFile(badSecond.Path(), kText).IsValid());
    EXPECT_FALSE(OrvaleOnlineForBusinessFile(goodThird.Path(), kText).IsValid());
    EXPECT_THAT(capture.Texts(), ElementsAre(kMismatch, badSecond.Path(), goodThird.Path()));
}

TEST(StatementFile, QuoteLeftOpenOnFirstLineCarriesIntoSecond) {
    const ScratchFile open("Statement \"draft\n" + kGoodLine + "\n");
    const ScratchFile closed("Statement draft\n" + kGoodLine + "\n");
    EXPECT_FALSE(OrvaleOnlineForBusinessFile(open.Path(), kBinary).IsValid());
    EXPECT_TRUE(OrvaleOnlineForBusinessFile(closed.Path(), kBinary).IsValid());
}

TEST(StatementFile, BlankLineFailsAndNextLineIsRead) {
    const std::string path = FixturePath("blank_line_in_middle.csv");
    DebugCapture capture;
    EXPECT_THAT(Reads(path.c_str(), 5), ElementsAre("FIRST", kFailed, "SECOND", kFailed, kFailed));
    EXPECT_THAT(capture.Texts(), ElementsAre(kReadFailed, kReadFailed, kReadFailed));
}

TEST(StatementFile, StreamNotOpen) {
    for (const char* path : {"Z:/no/such/statement.csv", static_cast<const char*>(nullptr)}) {
        DebugCapture capture;
        OrvaleOnlineForBusinessFile file(path, kBinary);
        EXPECT_FALSE(file.IsValid());
        EXPECT_THAT(capture.Texts(), ElementsAre(path ? path : ""));
        capture.Clear();
        file.SkipHeaderLine();
        EXPECT_THAT(capture.Texts(), ElementsAre(kNotOpen, kReadFailed));
        capture.Clear();
        CTransactionRecord record;
        EXPECT_FALSE(file.ReadTransaction(record));
        EXPECT_EQ(ResetRow(0), RowOf(record));
        EXPECT_THAT(capture.Texts(), ElementsAre(kNotOpen, kReadFailed));
    }
}

TEST(StatementFile, LayoutDecidedByFields2And4) {
    const struct {
        const char *field2, *field4;
        int layout;
    } cases[] = {{"DD", "12345678", 1}, {"CHQ", "1234", 1}, {"", "", 1},
                 {"\"DD\"", "12345678", 1}, {"DD", "\"1234 5678\"", 1}, {"DD", "123456789", 0},
                 {"12345678", "TFR", 2}, {"1234", "", 2}, {" 1234 5678 ", "\"SO\"", 2},
                 {"12345678", "ABCD", 0}, {"123456789", "TFR", 0}, {"TRANSFERS", "", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE("field 2 "s + c.field2 + ", field 4 " + c.field4);
        const ScratchFile scratch("03/11/2011,"s + c.field2 + ",12-34-56," + c.field4 + ",DESC,1.00,,2.00\n");
        DebugCapture capture;
        OrvaleOnlineForBusinessFile file(scratch.Path(), kText);
        EXPECT_EQ(c.layout, file.GetLayout());
        EXPECT_EQ(c.layout != 0, file.IsValid());
        if (c.layout == 0)
            EXPECT_THAT(capture.Texts(), ElementsAre(kMismatch, scratch.Path()));
        else
            EXPECT_THAT(capture.Texts(), IsEmpty());
    }
}

// The first line is skipped when its first word is "Transaction", or when
// the format check passed over it (it has another field count) and it is no
// transaction line with a comma too many (next test); no other line is ever
// skipped.
TEST(StatementFile, OnlyTheFirstLineIsSkippedAsAHeaderOrAsPassedOver) {
    const struct {
        const char* firstLine;
        const char* firstRead;  // description of the first record read after the skip
    } cases[] = {{"Transaction history,Orvale", "GOOD"}, {"Transaction", "GOOD"}, {"Transaction\r", "GOOD"},
                 {" \tTransaction\tlist", "GOOD"}, {"Transaction\tlist,DD,12-34-56,12345678,LISTED,,,1.00", "GOOD"},
                 {"Transaction,DD,12-34-56,12345678,OPENING,,,1.00", "OPENING"},
                 {"Transactions,DD,12-34-56,12345678,OPENING,,,1.00", "OPENING"},
                 {"Transactions for November", "GOOD"}, {"transaction history", "GOOD"}, {"", "GOOD"},
                 {"Statement of account 45678912", "GOOD"}, {"\"Transaction history\",Orvale", "GOOD"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.firstLine));
        const ScratchFile scratch(c.firstLine + "\n"s + kGoodLine + "\n");
        EXPECT_TRUE(OrvaleOnlineForBusinessFile(scratch.Path(), kBinary).IsValid());
        if (c.firstRead == "GOOD"s)
            EXPECT_THAT(Reads(scratch.Path(), 2), ElementsAre("GOOD", kFailed));
        else
            EXPECT_THAT(Reads(scratch.Path(), 2), ElementsAre(c.firstRead, "GOOD"));
    }
}

// A first line of more than 8 fields whose date field (as the layout has
// it, quotes stripped) gives a date is a transaction line with an unquoted
// comma in it, not a title: it is left to be read, its read fails, and the
// import stops there as it would at such a line anywhere else, rather than
// the line being dropped while the rest imports. A first line of fewer
// fields, a blank one, and one of more fields without a date are passed over.
TEST(StatementFile, FirstLineOfMoreFieldsWithADateAndAnAmountIsNotPassedOver) {
    const struct {
        std::string firstLine;
        const std::string& secondLine;
        bool passedOver;
    } cases[] = {
        {"03/11/2011,DD,12-34-56,12345678,PAY, INC,10.00,,80.00", kGoodLine, false},
        {"\"03/11/2011\",\"DD\",12-34-56,12345678,PAY, INC,10.00,,80.00", kGoodLine, false},
        {"2011-11-03,DD,12-34-56,12345678,A, B, C,10.00,,80.00", kGoodLine, false},
        {"12-34-56,12345678,03NOV11,DEB,PAY, INC,10.00,,80.00", kGoodAccountFirstLine, false},
        {"12-34-56,12345678,\"03-Nov-11\",DEB,PAY, INC,10.00,,80.00", kGoodAccountFirstLine, false},
        {"32/11/2011,DD,12-34-56,12345678,PAY, INC,10.00,,80.00", kGoodLine, true},
        {"Date,Type,Sort code,Account,Description,Debit,Credit,Balance,Notes", kGoodLine, true},
        {"03/11/2011,DD,12-34-56,12345678,PAY, INC,10.00,,80.00", kGoodAccountFirstLine, true},
        {"01/10/2026 to 31/10/2026", kGoodLine, true},
        {"03/11/2011,DD,12-34-56,12345678,SEVEN FIELDS,10.00,80.00", kGoodLine, true},
        {"01/11/2011 - 30/11/2011,,,,,,,,", kGoodLine, true},
        {"01/11/2011 - 30/11/2011,,,,,,,,\"Closing balance: 5.00\"", kGoodLine, true},
        {"03/11/2011,DD,12-34-56,12345678,PAY, INC,,,\"1,080.00\"", kGoodLine, false},
        {"03/11/2011,DD,12-34-56,12345678,PAY, INC,,,,,,,,,,,,,,,,,,,5", kGoodLine, false},
        {"", kGoodLine, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstLine);
        const ScratchFile scratch(c.firstLine + "\n" + c.secondLine + "\n");
        OrvaleOnlineForBusinessFile file(scratch.Path(), kBinary);
        ASSERT_TRUE(file.IsValid());
        EXPECT_EQ(c.passedOver ? OrvaleOnlineForBusinessFile::LeadingLine::PassedOver
                               : OrvaleOnlineForBusinessFile::LeadingLine::None,
                  file.SkipHeaderLine());
        if (c.passedOver)
            EXPECT_THAT(Reads(scratch.Path(), 2), ElementsAre("GOOD", kFailed));
        else
            EXPECT_THAT(Reads(scratch.Path(), 2), ElementsAre(kFailed, "GOOD"));
    }
}

// The file test reads no more than the first two lines. The import asks for
// the encoding, which reads the whole file once: UTF-8 when every byte
// belongs to a UTF-8 character and at least one character has several
// bytes (or the file starts with the byte-order mark); otherwise the ANSI
// code page, for the whole file, even where its first lines alone would be
// UTF-8. Asking changes no record read afterwards.
TEST(StatementFile, EncodingIsDecidedFromTheWholeFileWhenAsked) {
    const std::string utf8Line = "04/11/2011,DD,12-34-56,12345678,CAF\xC3\x89,1.00,,0";
    const std::string ansiLine = "05/11/2011,DD,12-34-56,12345678,CAF\xC9,1.00,,0";
    // A character whose first byte ends the reader's first 64 KB block.
    std::string acrossBlocks;
    while (acrossBlocks.size() + 2 * kGoodLine.size() < 65536) acrossBlocks += kGoodLine + "\n";
    acrossBlocks += "03/11/2011,DD,12-34-56,12345678,";
    acrossBlocks += std::string(65535 - acrossBlocks.size(), 'X') + "\xC3\x89,1.00,,0\n";
    const struct {
        const char* name;
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"a UTF-8 line", kGoodLine + "\n" + utf8Line + "\n", true},
        {"a UTF-8 title", "Statement \xE2\x80\x93 November\n" + kGoodLine + "\n", true},
        {"a character across blocks", acrossBlocks, true},
        {"plain ASCII", kGoodLine + "\n" + kGoodLine + "\n", false},
        {"an ANSI line after a UTF-8 one", kGoodLine + "\n" + utf8Line + "\n" + ansiLine + "\n", false},
        {"a character cut by the end", kGoodLine + "\n" + utf8Line.substr(0, 36), false},
        {"an overlong form", kGoodLine + "\n" + utf8Line + "\n\xC0\xAF\n", false},
        {"the mark", "\xEF\xBB\xBF" + kGoodLine + "\n" + ansiLine + "\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchFile scratch(c.bytes);
        for (const auto mode : {kText, kBinary}) {
            OrvaleOnlineForBusinessFile file(scratch.Path(), mode);
            ASSERT_TRUE(file.IsValid());
            EXPECT_EQ(c.bytes.rfind("\xEF\xBB\xBF", 0) == 0, file.IsUtf8()) << "before it is asked";
            file.DecideEncoding();
            EXPECT_EQ(c.utf8, file.IsUtf8());
            EXPECT_EQ(ReadStatement(scratch.Path(), mode), ReadAfterSkip(file));
        }
    }
}

TEST(StatementFile, NulBytes) {
    const ScratchFile onlyNuls(std::string(64, '\0'));
    const ScratchFile nulInLine(kGoodLine + "\n04/11/2011,DD,12-34-56\0,12345678,NUL,20.00,,70.00\n"s + kGoodLine);
    DebugCapture capture;
    EXPECT_FALSE(OrvaleOnlineForBusinessFile(onlyNuls.Path(), kBinary).IsValid());
    EXPECT_THAT(capture.Texts(), ElementsAre(onlyNuls.Path()));
    EXPECT_THAT(Reads(nulInLine.Path(), 4), ElementsAre("GOOD", kFailed, "GOOD", kFailed));
}

TEST(StatementFile, OverLongFieldMakesLineFail) {
    const std::string tooLong(512, 'x');
    const ScratchFile scratch(kGoodLine + "\n03/11/2011,DD,12-34-56,12345678," + tooLong + ",1.00,,2.00\n" +
                              "03/11/2011,DD,12-34-56,12345678,DEBIT,1.00," + tooLong + ",2.00\n" +
                              "03/11/2011,DD,12-34-56,12345678,CREDIT,," + tooLong + ",2.00\n" + kGoodLine + "\n");
    // The first failure comes after four fields were taken; the credit field
    // of a debit line is read too (a line must not carry two amounts), so
    // its length fails the line as any field's does.
    EXPECT_THAT(Reads(scratch.Path(), 5), ElementsAre("GOOD", kFailed, kFailed, kFailed, "GOOD"));
}

// A field 2 or 4 longer than a field can be is too long for either layout,
// even when it is mostly spaces: the file opened, and the line does not match.
TEST(StatementFile, OverLongFieldInFormatCheckDoesNotMatch) {
    for (const std::string& line : {"03/11/2011," + std::string(600, 'T') + ",12-34-56,12345678,D,1.00,,2.00",
                                    "03/11/2011,DD,12-34-56," + std::string(600, '1') + ",D,1.00,,2.00",
                                    "03/11/2011,DD,12-34-56,1" + std::string(600, ' ') + ",D,1.00,,2.00"}) {
        const ScratchFile scratch(line + "\n" + kGoodLine + "\n");
        DebugCapture capture;
        EXPECT_FALSE(OrvaleOnlineForBusinessFile(scratch.Path(), kBinary).IsValid());
        EXPECT_THAT(capture.Texts(), ElementsAre(kMismatch, scratch.Path()));
    }
}

TEST(StatementFile, LineOf2047CharactersIsReadAndLongerLineIsNot) {
    const std::string start = "03/11/2011,DD,12-34-56,12345678," + std::string(511, 'D') + "," +
                              Padded("12.50", 511) + "," + std::string(511, ' ') + ",";
    const std::string longest = start + Padded("100.25", 479), tooLong = start + Padded("100.25", 480);
    ASSERT_EQ(2047u, longest.size());
    const ScratchFile scratch(longest + "\n" + tooLong + "\n" + kGoodLine + "\n" + tooLong);
    DebugCapture capture;
    EXPECT_THAT(Reads(scratch.Path(), 4), ElementsAre(std::string(511, 'D'), kFailed, "GOOD", kFailed));
    EXPECT_THAT(capture.Texts(), ElementsAre(kReadFailed, kReadFailed));
    OrvaleOnlineForBusinessFile file(scratch.Path(), kBinary);
    CTransactionRecord record;
    ASSERT_TRUE(file.ReadTransaction(record));
    EXPECT_DOUBLE_EQ(100.25, record.GetBalance());  // the whole line, up to its last character
}

TEST(StatementFile, TooLongFirstLineIsNeitherCountedNorAHeader) {
    // Counted, this first line would reject the file (field 2 is too long).
    const ScratchFile scratch("Transaction TOOLONGFIELD,x,x,x,x,x,x," + std::string(2048, 'x') + "\n" + kGoodLine);
    DebugCapture capture;
    OrvaleOnlineForBusinessFile file(scratch.Path(), kText);
    EXPECT_EQ(1, file.GetLayout());
    EXPECT_TRUE(file.IsValid());
    EXPECT_THAT(capture.Texts(), IsEmpty());
    EXPECT_THAT(Reads(scratch.Path(), 3), ElementsAre("GOOD", kFailed, kFailed)) << "the first line is passed over";
}

// Why each refused line was refused: the end of the file, a line too long,
// other than 8 fields (a blank line among them), a field too long, a file
// without a layout, an allocation that fails. Each refusal leaves the
// record reset, says so on the debugger, and lets the next line be read.
TEST(StatementFile, LastReadSaysWhyEachLineWasRefused) {
    using Failure = OrvaleOnlineForBusinessFile::ReadFailure;
    struct Read {
        Failure failure;  // None: read
        int fieldCount;
        bool blank;
    };
    const std::string tooLongField = "03/11/2011,DD,12-34-56,12345678," + std::string(512, 'x') + ",1.00,,2.00";
    const ScratchFile statement(kGoodLine + "\n \r\n1,2,3\n" + std::string(2048, 'x') + "\n" + tooLongField + "\n" +
                                kGoodLine + "\n" + kGoodLine + "\n");
    const ScratchFile noLayout("Title\nSubtitle\n" + kGoodLine + "\n");
    const struct {
        const ScratchFile& file;
        std::vector<Read> reads;
        int failingAllocationRead;  // the read whose allocations fail, or -1
    } cases[] = {
        {statement,
         {{Failure::None, 8, false}, {Failure::FieldCount, 1, true}, {Failure::FieldCount, 3, false},
          {Failure::TooLong, 0, false}, {Failure::FieldTooLong, 8, false}, {Failure::OutOfMemory, 8, false},
          {Failure::None, 8, false}, {Failure::EndOfFile, 0, false}},
         5},
        {noLayout, {{Failure::FieldCount, 1, false}, {Failure::FieldCount, 1, false}, {Failure::NoLayout, 8, false}}, -1},
    };
    for (const auto& c : cases) {
        DebugCapture recognition;  // the file without a layout is reported
        OrvaleOnlineForBusinessFile file(c.file.Path(), kBinary);
        for (size_t i = 0; i < c.reads.size(); ++i) {
            CTransactionRecord record;  // with no room yet for its texts
            DebugCapture capture;
            bool read;
            {
                const allocation_failure::FailAllocationsAfter failing(static_cast<int>(i) == c.failingAllocationRead ? 0 : -1);
                read = file.ReadTransaction(record);
            }
            const Read& expected = c.reads[i];
            const OrvaleOnlineForBusinessFile::LineReadOutcome& last = file.LastRead();
            SCOPED_TRACE(c.file.Path() + std::string(", read ") + std::to_string(i));
            EXPECT_EQ(expected.failure == Failure::None, read);
            EXPECT_EQ(expected.failure, last.failure);
            EXPECT_EQ(expected.fieldCount, last.fieldCount);
            EXPECT_EQ(expected.blank, last.blank);
            if (read) continue;
            EXPECT_EQ(ResetRow(file.GetLayout()), RowOf(record));
            EXPECT_THAT(capture.Texts(), ElementsAre(kReadFailed));
        }
    }
}
