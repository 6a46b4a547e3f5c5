// The running balance check on small statements, through the import's own
// walk of the file: each case a statement and the one line said of it.
#include "ImportReview.h"
#include "StatementTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char* const kOldestFirst = " (lines taken oldest first, as the file is written).";
const char* const kNewestFirst = " (lines taken from the file's last up: it is written newest first).";

// One line: day of November 2026, debit, credit, balance, account number.
struct Entry {
    int day;
    const char *debit, *credit, *balance;
    const char* account = "12345678";
};

std::string LineOf(int layout, const Entry& entry) {
    const std::string day = (entry.day < 10 ? "0" : "") + std::to_string(entry.day);
    const std::string money = std::string(entry.debit) + "," + entry.credit + "," + entry.balance;
    if (layout == 1) return day + "/11/2026,DD,12-34-56," + entry.account + ",PAYEE," + money + "\r\n";
    return std::string("12-34-56,") + entry.account + "," + day + "NOV26,DD,PAYEE," + money + "\n";
}

// A header, then the entries in the given order.
std::string Statement(int layout, std::vector<Entry> entries, bool newestFirst = false) {
    if (newestFirst) std::reverse(entries.begin(), entries.end());
    std::string text = "Transaction history,Orvale Online For Business\n";
    for (const Entry& entry : entries) text += LineOf(layout, entry);
    return text;
}

// Brought forward 1,000.00, then a debit, a credit and a debit.
const std::vector<Entry> kConsistent = {
    {1, "", "", "\"1,000.00\""}, {2, "82.40", "", "917.60"}, {5, "", "\"1,200.00\"", "\"2,117.60\""},
    {9, "17.60", "", "\"2,100.00\""}};

std::string Summary(const std::string& bytes) {
    const ScratchFile file(bytes);
    StatementAccount account;
    account.SetAccountNumber(L"12345678");
    account.SetSortCode(L"12-34-56");
    const reference_host::StatementLineRecords noLines;
    return BalanceSummary(ReviewImport(file.Path(), account, noLines).balance);
}

TEST(RunningBalance, SaysWhereTheChainBreaks) {
    const std::string consistent = "Running balance: 4 lines consistent, closing balance 2,100.00";
    std::vector<Entry> missing = kConsistent, duplicated = kConsistent, misread = kConsistent,
                       interleaved = kConsistent, withoutBalances = kConsistent, everyLine = kConsistent,
                       oneWithout = kConsistent, twoAmounts = kConsistent;
    missing.erase(missing.begin() + 2);
    duplicated.insert(duplicated.begin() + 1, duplicated[1]);
    misread[1].debit = "\xC2\xA3" "82.40";
    twoAmounts[1].credit = "10.00";
    interleaved.insert(interleaved.begin() + 1, {{1, "", "", "5.00", "87654321"}, {3, "", "1.00", "6.00", "87654321"}});
    for (Entry& entry : withoutBalances) entry.balance = "";
    oneWithout[2].balance = "";
    everyLine.insert(everyLine.end(), {{12, "1.00", "", ""}, {15, "2.00", "", ""}});
    for (Entry& entry : everyLine) entry.balance = "\"1,000.00\"";
    const std::string stopped = Statement(1, {kConsistent[0], kConsistent[1]}) + "02/11/2026,DD,12-34-56\n" +
                                LineOf(1, kConsistent[2]);
    const struct {
        const char* name;
        std::string statement, summary;
    } cases[] = {
        {"date first", Statement(1, kConsistent), consistent + kOldestFirst},
        {"date first, newest first", Statement(1, kConsistent, true), consistent + kNewestFirst},
        {"account first", Statement(2, kConsistent), consistent + kOldestFirst},
        {"account first, newest first", Statement(2, kConsistent, true), consistent + kNewestFirst},
        {"overdrawn",
         Statement(2, {{1, "", "", "50.00"}, {3, "100.00", "", "-50.00"}, {4, "\"1,200.00\"", "", "\"-1,250.00\""},
                       {8, "", "10.00", " -1240.00 "}}),
         "Running balance: 4 lines consistent, closing balance -1,240.00" + std::string(kOldestFirst)},
        {"missing line", Statement(1, missing),
         "Running balance breaks at line 4: 917.60 - 17.60 should give 900.00, the file says 2,100.00" +
             std::string(kOldestFirst)},
        {"duplicated line, newest first", Statement(2, duplicated, true),
         "Running balance breaks at line 4: 917.60 - 82.40 should give 835.20, the file says 917.60" +
             std::string(kNewestFirst)},
        {"misread amount", "\xEF\xBB\xBF" + Statement(1, misread),
         "Running balance breaks at line 3: the debit \"\xC2\xA3" "82.40\" does not read as an amount" +
             std::string(kOldestFirst)},
        {"both a debit and a credit", Statement(1, twoAmounts),
         "Running balance breaks at line 3: the line has both a debit and a credit amount" + std::string(kOldestFirst)},
        {"another account's chain between", Statement(1, interleaved), consistent + kOldestFirst},
        {"one line without its balance", Statement(2, oneWithout),
         "Running balance breaks at line 4: the line has no balance" + std::string(kOldestFirst)},
        {"without balances", Statement(1, withoutBalances),
         "Running balance: the file has no balances; nothing was checked."},
        {"import stopped", stopped,
         "Running balance: 2 lines consistent, closing balance 917.60; not checked past line 4, where the import "
         "stopped: the lines after it were not read" + std::string(kOldestFirst)},
        {"every line breaks", Statement(1, everyLine),
         "Running balance breaks at line 3: 1,000.00 - 82.40 should give 917.60, the file says 1,000.00; at line 4: "
         "1,000.00 + 1,200.00 should give 2,200.00, the file says 1,000.00; at line 5: 1,000.00 - 17.60 should give "
         "982.40, the file says 1,000.00; and 2 more breaks" + std::string(kOldestFirst)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.summary, Summary(c.statement));
    }
}

TEST(RunningBalance, MoneyFieldsKeepTheirSigns) {
    using Kind = MoneyField::Kind;
    const struct {
        const char* field;
        Kind kind;
        Pence pence;
    } cases[] = {{"\"-1,234.56\"", Kind::Amount, -123456}, {" 12.5\r", Kind::Amount, 1250}, {"+3", Kind::Amount, 300},
                 {".05", Kind::Amount, 5}, {"2.345", Kind::Amount, 235}, {"-0.004", Kind::Amount, 0},
                 {"\"\"", Kind::Empty, 0}, {" ", Kind::Empty, 0}, {"-", Kind::Empty, 0}, {"1-000", Kind::Unreadable, 0},
                 {"82.40CR", Kind::Unreadable, 0}, {"1e3", Kind::Unreadable, 0}, {"82,40", Kind::Unreadable, 0},
                 {"1234567890123456", Kind::Unreadable, 0}, {"12.50-", Kind::Amount, -1250},
                 {"1\xA0" "250.00", Kind::Amount, 125000}, {"123456789012.345", Kind::Amount, 12345678901235}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.field));
        const MoneyField money = ReadMoney(c.field);
        EXPECT_EQ(c.kind, money.kind);
        EXPECT_EQ(c.pence, money.pence);
    }
    EXPECT_EQ("-1,234,567.05", MoneyText(-123456705));
    EXPECT_EQ("0.50", MoneyText(50));
    EXPECT_EQ("-0.07", MoneyText(-7));
    EXPECT_EQ("100.00", MoneyText(10000));
}

}  // namespace
