// The tool's report when the statement file changes while the module
// imports it: the host statement changes the file as the module hands it a
// line, so the tool's review reads another file than the import did.
#include "ImportHarness.h"
#include "ImportOutputs.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>

namespace {

const char kHeader[] = "Transaction history,Orvale Online For Business\r\n";
const char kFirst[] = "03/11/2011,DD,12-34-56,12345678,ENERGY,45.20,,954.80\r\n";
// The last line, without its line feed: a download still being written.
const char kLast[] = "04/11/2011,DD,12-34-56,12345678,WATER,4.80,,950.00";
const char kAppended[] = "\r\n05/11/2011,DD,12-34-56,12345678,RATES,50.00,,900.00\r\n";

std::string TempPath() {
    char directory[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + "pendrel_file_change_" + std::to_string(GetCurrentProcessId()) + ".csv";
}

void Write(const std::string& path, const std::string& bytes, const char* mode) {
    FILE* file = std::fopen(path.c_str(), mode);
    ASSERT_TRUE(file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// The tool's statement, which calls `change` as its `at`-th line is added:
// the module has then read that line, and handed over the lines before it.
class ChangingStatement : public ToolStatement {
public:
    ChangingStatement(std::shared_ptr<reference_host::Scenario> scenario, int at, std::function<void()> change)
        : ToolStatement(std::move(scenario)), m_at(at), m_change(std::move(change)) {}

    STDMETHODIMP AddLine(IHostStatementLine** line) override {
        if (++m_added == m_at) m_change();
        return ToolStatement::AddLine(line);
    }

private:
    const int m_at;
    const std::function<void()> m_change;
    int m_added = 0;
};

using FileChangeTest = ImportTest;

TEST_F(FileChangeTest, ReportSaysTheFileChangedDuringTheImport) {
    const std::string path = TempPath();
    const struct {
        const char* name;
        int at;  // 0: no change
        std::function<void()> change;
        const char* said;
    } cases[] = {
        {"unchanged", 0, [] {}, nullptr},
        {"a line appended after the last one was read", 2, [&] { Write(path, kAppended, "ab"); },
         "line 4 of the file now gives statement line 3, which the host did not receive"},
        {"an amount the host has been given rewritten", 1,
         [&] { Write(path, std::string(kHeader) + "03/11/2011,DD,12-34-56,12345678,ENERGY,46.20,,954.80\r\n" + kLast,
                     "r+b"); },
         "line 2 of the file now gives statement line 1 another amount than the host received"},
        {"the file cut short", 1, [&] { Write(path, std::string(kHeader) + kFirst, "wb"); },
         "the host received statement line 2, which the file no longer gives"},
    };
    SetAccount(L"12-34-56", L"12345678");
    ImportOptions options;
    options.file = std::wstring(path.begin(), path.end());
    options.sortCode = L"12-34-56";
    options.accountNumber = L"12345678";
    options.format = OutputFormat::Json;
    options.strict = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(path, std::string(kHeader) + kFirst + kLast, "wb");
        scenario->settings.chosenFile = options.file;
        const auto reconciliation = scenario->CreateReconciliation();
        const auto changing = reference_host::MakeObject<ChangingStatement>(scenario, c.at, c.change);
        ASSERT_EQ(S_OK, service->ImportStatement(reconciliation.Get(), changing.Get()));
        ASSERT_EQ(2u, changing->Lines()->Size());

        std::ostringstream out, err;
        const int status =
            WriteImportOutputs(options, HostOutcomeOf(*scenario, *changing.Get(), service.Get()), out, err);
        EXPECT_EQ(c.said ? kLinesLost : kImported, status) << err.str();
        EXPECT_NE(std::string::npos, out.str().find(c.said ? "\"file_changed\": true" : "\"file_changed\": false"));
        const std::string said = c.said ? "The statement file changed during the import: " + std::string(c.said)
                                        : "Running balance: 2 lines consistent";
        EXPECT_NE(std::string::npos, err.str().find(said)) << err.str();
    }
    DeleteFileA(path.c_str());
}

}  // namespace
