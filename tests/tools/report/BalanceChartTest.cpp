// The running balance chart: thinning keeps every marked break and every
// dip and peak; the chart marks each break once, with the amount it is off
// by, or beyond kBreakMarks breaks groups them into marks that say how many
// they stand for; it shows an overdrawn stretch below zero.
#include "BalanceChart.h"
#include "ReportTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(BalanceChart, ThinningKeepsBreaksDipsAndPeaks) {
    // A wandering balance; every 97th line writes none.
    std::vector<BalancePoint> chain(100'000);
    Pence balance = 0;
    unsigned seed = 12345;
    for (std::size_t index = 0; index < chain.size(); ++index) {
        seed = seed * 1103515245 + 12345;
        balance += static_cast<Pence>(seed >> 16 & 0xFFF) - 2000;
        chain[index].lineNumber = static_cast<int>(index) + 2;
        if (index % 97 != 5) chain[index].balance = balance;
    }
    chain[70'000].balance = -50'000'000;  // one deep dip
    const std::vector<std::size_t> breaks = {0, 1, 2, 3, 4, 6, 50'000, 50'001, 99'999, 97 * 3 + 5};
    const std::vector<std::size_t> drawn = PointsDrawn(chain, breaks);

    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end()));
    EXPECT_EQ(drawn.end(), std::adjacent_find(drawn.begin(), drawn.end()));
    EXPECT_LE(drawn.size(), kChartPoints + breaks.size());
    EXPECT_GT(drawn.size(), kChartPoints / 2);
    for (const std::size_t index : drawn) EXPECT_TRUE(chain[index].balance.has_value()) << index;
    for (const std::size_t index : breaks)
        EXPECT_EQ(chain[index].balance.has_value(), std::binary_search(drawn.begin(), drawn.end(), index)) << index;
    const auto byBalance = [](const BalancePoint& a, const BalancePoint& b) {
        return a.balance.value_or(0) < b.balance.value_or(0);
    };
    const auto lowest = static_cast<std::size_t>(std::min_element(chain.begin(), chain.end(), byBalance) - chain.begin());
    const auto highest = static_cast<std::size_t>(std::max_element(chain.begin(), chain.end(), byBalance) - chain.begin());
    for (const std::size_t index : {std::size_t{0}, lowest, highest, chain.size() - 1})
        EXPECT_TRUE(std::binary_search(drawn.begin(), drawn.end(), index)) << index;

    // A short chain is drawn whole, but for the line without a balance.
    const std::vector<BalancePoint> few(chain.begin(), chain.begin() + 10);
    EXPECT_EQ((std::vector<std::size_t>{0, 1, 2, 3, 4, 6, 7, 8, 9}), PointsDrawn(few, {5}));
}

std::string Chart(const std::string& statement) {
    const ReviewedForReport reviewed =
        ReviewForReport("Transaction history,Orvale Online For Business\r\n" + statement);
    std::ostringstream chart;
    WriteBalanceChart(chart, reviewed.lines.Points(), reviewed.review.balance);
    return chart.str();
}

TEST(BalanceChart, MarksEachBreakAndTheOverdrawnStretch) {
    const std::string head = "03/11/2026,DD,12-34-56,12345678,PAYEE,";
    const struct {
        const char* name;
        std::string statement;
        std::size_t breaks;
        bool overdrawn;
        std::vector<const char*> said;
    } cases[] = {
        {"consistent", head + ",,100.00\r\n" + head + "30.00,,70.00\r\n", 0, false, {"No break."}},
        {"overdrawn, off by a hundred",
         head + ",,100.00\r\n" + head + "130.00,,-30.00\r\n" + head + "10.00,,-140.00\r\n" + head + ",50.00,-90.00\r\n",
         1, true, {">-100.00</text>", "<title>line 4: -100.00; -30.00 - 10.00 should give -40.00, the file says -140.00"}},
        {"a line without a balance, newest first",
         head + "5.00,,100.00\r\n" + head + "5.00,,\r\n" + head + "5.00,,110.00\r\n" + head + ",,115.00\r\n", 1, false,
         {">no balance</text>", "oldest first: the file is written newest first"}},
        {"an unreadable debit, its text escaped", head + ",,100.00\r\n" + head + "<b>5</b>,,95.00\r\n", 1, false,
         {"the debit &quot;&lt;b&gt;5&lt;/b&gt;&quot; does not read"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string chart = Chart(c.statement);
        EXPECT_EQ(c.breaks, Occurrences(chart, "class=\"break-mark\""));
        EXPECT_EQ(c.overdrawn, chart.find("below-zero") != std::string::npos);
        for (const char* part : c.said) EXPECT_NE(std::string::npos, chart.find(part)) << chart;
        EXPECT_EQ(std::string::npos, chart.find("<b>"));
    }
    EXPECT_NE(std::string::npos, Chart(head + ",,\r\n").find("no running balance to draw"));
}

// How many breaks each mark's title says it stands for: "line N: ..." one,
// "N breaks, ..." N.
std::vector<std::size_t> BreaksPerMark(const std::string& chart) {
    std::vector<std::size_t> counts;
    const std::string title = "<g class=\"break-mark\"><title>";
    for (std::size_t at = chart.find(title); at != std::string::npos; at = chart.find(title, at + 1)) {
        const char* text = chart.c_str() + at + title.size();
        counts.push_back(std::string(text, 5) == "line " ? 1 : std::strtoul(text, nullptr, 10));
    }
    return counts;
}

TEST(BalanceChart, ManyBreaksShareMarksThatSayHowManyTheyStandFor) {
    // Every line writes the same balance after a debit: each after the first breaks.
    const std::string line = "03/11/2026,DD,12-34-56,12345678,PAYEE,1.00,,100.00\r\n";
    for (const std::size_t breaks : {kBreakMarks, kBreakMarks + 1, std::size_t{50'000}}) {
        SCOPED_TRACE(breaks);
        std::string statement;
        for (std::size_t index = 0; index <= breaks; ++index) statement += line;
        const std::string chart = Chart(statement);
        const std::vector<std::size_t> counts = BreaksPerMark(chart);
        EXPECT_LE(counts.size(), kBreakMarks);
        EXPECT_EQ(breaks, std::accumulate(counts.begin(), counts.end(), std::size_t{0}));
        EXPECT_EQ(breaks == kBreakMarks, counts.size() == breaks);
        const std::size_t start = chart.find("points=\"") + 8;
        const std::string points = chart.substr(start, chart.find('"', start) - start);
        EXPECT_LE(Occurrences(points, " ") + 1, kChartPoints + kBreakMarks);
        EXPECT_LT(chart.size(), 2'000'000u);
    }
}

}  // namespace
