// What the HTML report shows of each line, through the import's own walk of
// a statement with a line of every kind, and the balances its chart draws.
#include "ReportTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Line(const char* date, const char* account, const char* description, const char* money) {
    return std::string(date) + ",DD,12-34-56," + account + "," + description + "," + money + "\r\n";
}

TEST(LinesForReport, EachLineShowsWhatBecameOfIt) {
    const std::string statement =
        "Statement of account 12345678\r\n" + Line("01/11/2026", "12345678", "BROUGHT FORWARD", ",,100.00") +
        Line("02/11/2026", "12345678", "PAYEE", "10.00,,90.00") + Line("32/11/2026", "12345678", "UNDATED", "5.00,,85.00") +
        Line("03/11/2026", "87654321", "ANOTHER", "1.00,,9.00") + ",,,,,,,\r\n" +
        Line("04/11/2026", "12345678", "POUNDS", "\xA3" "5.00,,80.00") +
        Line("04/11/2026", "12345678", "BOTH", "5.00,1.00,80.00") + "04/11/2026,DD,12-34-56\r\n" +
        Line("05/11/2026", "12345678", "AFTER", "1.00,,79.00");
    const ReviewedForReport reviewed = ReviewForReport(statement);
    const ImportReview& review = reviewed.review;
    const LinesForReport& lines = reviewed.lines;

    const struct {
        LineKind kind;
        long statementLine;
        const char* words;  // how the words begin; null: no words
    } expected[] = {
        {LineKind::Title, 0, "passed over: 1 field, not 8"},
        {LineKind::NoAmount, 0, "passed over: no debit or credit amount"},
        {LineKind::Imported, 1, nullptr},
        {LineKind::Undated, 2, "imported as statement line 2, without a date: \"32/11/2026\""},
        {LineKind::OtherAccount, 0, "passed over: another account (sort code \"12-34-56\" and account \"87654321\""},
        {LineKind::EmptyRow, 0, "passed over: an empty row"},
        {LineKind::UnreadableAmount, 0, "passed over: the debit (field 6) \"\xC2\xA3" "5.00\" does not read as an amount"},
        {LineKind::TwoAmounts, 0,
         "passed over: both the debit (field 6) \"5.00\" and the credit (field 7) \"1.00\" hold an amount"},
        {LineKind::Stopped, 0, "not a transaction line (3 fields, not 8), so the import stopped here"},
        {LineKind::NotRead, 0, "not read: the import had stopped"},
    };
    ASSERT_EQ(std::size(expected), lines.Lines().size());
    for (std::size_t index = 0; index < lines.Lines().size(); ++index) {
        const ReportRow& line = lines.Lines()[index];
        SCOPED_TRACE(line.lineNumber);
        EXPECT_EQ(static_cast<int>(index) + 1, line.lineNumber);
        EXPECT_EQ(expected[index].kind, line.kind);
        EXPECT_EQ(expected[index].statementLine, line.statementLine);
        if (expected[index].words)
            EXPECT_EQ(0u, line.words.rfind(expected[index].words, 0)) << line.words;
        else
            EXPECT_EQ("", line.words);
    }
    // The counts of the kinds are the review's.
    const LossSummary& losses = review.losses;
    EXPECT_EQ(losses.Imported(), lines.Count(LineKind::Imported) + lines.Count(LineKind::Undated));
    EXPECT_EQ(losses.Undated().Count(), lines.Count(LineKind::Undated));
    EXPECT_EQ(losses.OtherAccount(), lines.Count(LineKind::OtherAccount));
    EXPECT_EQ(losses.NoAmount(), lines.Count(LineKind::NoAmount));
    EXPECT_EQ(losses.UnreadableAmounts().Count(), lines.Count(LineKind::UnreadableAmount));
    EXPECT_EQ(losses.TwoAmounts().Count(), lines.Count(LineKind::TwoAmounts));
    EXPECT_EQ(losses.EmptyRows().Count(), lines.Count(LineKind::EmptyRow));
    EXPECT_EQ(losses.LinesNotRead(), lines.Count(LineKind::NotRead));
    // The chart's points: the lines the check took, with the balances the file writes.
    std::vector<std::pair<int, Pence>> points;
    for (const BalancePoint& point : lines.Points()) points.emplace_back(point.lineNumber, point.balance.value_or(-1));
    EXPECT_EQ((std::vector<std::pair<int, Pence>>{{2, 10000}, {3, 9000}, {4, 8500}, {7, 8000}, {8, 8000}}), points);
    EXPECT_EQ(review.balance.lines, static_cast<int>(lines.Points().size()));
}

}  // namespace
