// A whole import in a process whose ANSI code page is UTF-8, as a host whose
// manifest asks for it runs: the chosen path, with characters no single-byte
// code page has, reaches the file, and the lines reach the host.
#include "ImportHarness.h"

#include <string>

namespace {

using Utf8CodePageTest = ImportTest;

TEST_F(Utf8CodePageTest, ImportsFromAPathOfAnyCharacters) {
    ASSERT_EQ(CP_UTF8, GetACP()) << "the program's manifest asks for the UTF-8 code page";
    wchar_t temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
    const std::wstring folder = std::wstring(temp) + L"Pendrel \u00e9\u4e2d";
    const std::wstring copy = folder + L"\\statement.csv";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(FixturePath("import_statement.csv").c_str(), copy.c_str(), FALSE));
    SetAccount(L"12-34-56", L"12345678");
    scenario->settings.chosenFile = copy;
    const auto reconciliation = scenario->CreateReconciliation();
    statement = scenario->CreateStatement();
    EXPECT_EQ(S_OK, service->ImportStatement(reconciliation.Get(), statement.Get()));
    EXPECT_EQ(6u, statement->Lines().size());
    EXPECT_EQ("1, Orvale Online For Business - Statement", scenario->log.Calls("FileChooser", "Recognizer").back().value);
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
