// The import tool's explanation against what really happens: on every
// fixture, the lines it says are imported are the lines the host received.
#include "ImportHarness.h"
#include "StatementExplainer.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Fixtures() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const std::string pattern = std::string(PENDREL_FIXTURES_DIR) + "/*.csv";
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string Ansi(const std::wstring& text) { return std::string(text.begin(), text.end()); }

using ExplainerTest = ImportTest;

TEST_F(ExplainerTest, ImportedLinesAreTheLinesTheHostReceived) {
    const std::vector<std::string> fixtures = Fixtures();
    ASSERT_GE(fixtures.size(), 5u);
    const wchar_t* accounts[][2] = {{L"12-34-56", L"12345678"}, {L"12-34-56", L"1234567"}, {nullptr, nullptr}};
    // Each import sets every member of the account anew, in the service and
    // here: a null text gives the empty value in both.
    StatementAccount explainedAccount;
    for (const std::string& fixture : fixtures) {
        for (const auto& account : accounts) {
            SCOPED_TRACE(fixture + " " + (account[1] ? Ansi(account[1]) : "without account"));
            SetAccount(account[0], account[1]);
            ASSERT_EQ(S_OK, Import(fixture.c_str()));
            explainedAccount.SetAccountNumber(account[1]);
            explainedAccount.SetSortCode(account[0]);
            const StatementExplanation explanation =
                ExplainStatement(Ansi(FixturePath(fixture.c_str())).c_str(), explainedAccount);

            std::vector<ExplainedLine> imported;
            for (const ExplainedLine& line : explanation.lines)
                if (line.fate == LineFate::Imported) imported.push_back(line);
            const auto received = statement->Lines();
            ASSERT_EQ(received.size(), imported.size());
            for (size_t i = 0; i < received.size(); ++i) {
                EXPECT_EQ("VT_I4 " + std::to_string(imported[i].statementLine), received[i].number);
                EXPECT_EQ(imported[i].direction, received[i].direction);
                EXPECT_EQ(imported[i].amount, received[i].amount);
                EXPECT_EQ(imported[i].date, received[i].date);
                EXPECT_EQ(imported[i].description, received[i].description);
                EXPECT_EQ(imported[i].reference, received[i].reference);
            }
            EXPECT_EQ(explanation.recognised, scenario->log.Calls("FileChooser", "Recognizer").back().value[0] == '1');
        }
    }
}

TEST_F(ExplainerTest, SaysWhyLinesWereNotImported) {
    StatementAccount account;
    account.SetAccountNumber(L"12345678");
    account.SetSortCode(L"12-34-56");
    const StatementExplanation explanation =
        ExplainStatement(Ansi(FixturePath("import_statement.csv")).c_str(), account);
    ASSERT_TRUE(explanation.recognised);
    ASSERT_EQ(11u, explanation.lines.size());
    EXPECT_EQ("line 1: header, skipped", Describe(explanation.lines[0]));
    EXPECT_EQ("line 2: imported as statement line 1", Describe(explanation.lines[1]));
    EXPECT_EQ(
        "line 4: passed over: another account (sort code \"65-43-21\" and account \"87654321\"; the host's are sort "
        "code \"123456\" and account \"12345678\")",
        Describe(explanation.lines[3]));
    EXPECT_EQ("line 8: passed over: no debit or credit amount", Describe(explanation.lines[7]));
    EXPECT_EQ("line 10: not a transaction line (1 field, not 8), so the import stopped here",
              Describe(explanation.lines[9]));
    EXPECT_EQ("line 11: not read: the import had stopped", Describe(explanation.lines[10]));

    const StatementExplanation rejected = ExplainStatement(Ansi(FixturePath("header_only.csv")).c_str(), account);
    EXPECT_FALSE(rejected.recognised);
    EXPECT_EQ("not recognised: neither of its first two lines has 8 fields", rejected.recognition);
    EXPECT_TRUE(rejected.lines.empty());
}

TEST_F(ExplainerTest, ByteOrderMarkIsPassedOverAsTheReaderDoes) {
    StatementAccount account;
    account.SetAccountNumber(L"12345678");
    account.SetSortCode(L"12-34-56");
    for (const char* fixture : {"bom_import_statement.csv", "bom_account_first_no_header.csv"}) {
        SCOPED_TRACE(fixture);
        const StatementExplanation explanation = ExplainStatement(Ansi(FixturePath(fixture)).c_str(), account);
        ASSERT_TRUE(explanation.recognised);
        ASSERT_FALSE(explanation.lines.empty());
        const bool hasHeader = fixture == std::string("bom_import_statement.csv");
        EXPECT_EQ(hasHeader ? "line 1: header, skipped" : "line 1: imported as statement line 1",
                  Describe(explanation.lines[0]));
    }
}

}  // namespace
