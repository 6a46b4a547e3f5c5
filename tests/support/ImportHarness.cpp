#include "ImportHarness.h"

#include <algorithm>

std::wstring FixturePath(const char* name) {
    const std::string path = std::string(PENDREL_FIXTURES_DIR) + "/" + name;
    return std::wstring(path.begin(), path.end());
}

void ImportTest::SetUp() {
    ModuleTest::SetUp();
    registration.emplace(scenario);
    service = Module().Create<IBankStatementService>(CLSID_BankStatementService);
    ASSERT_TRUE(service);
}

void ImportTest::TearDown() {
    service.Reset();
    statement.Reset();
    registration.reset();
    EXPECT_EQ(0, scenario->LiveObjects()) << "a host object was not released";
    ModuleTest::TearDown();
}

HRESULT ImportTest::Import(const char* fixture) {
    scenario->settings.chosenFile = FixturePath(fixture);
    const auto reconciliation = scenario->CreateReconciliation();
    statement = scenario->CreateStatement();
    return service->ImportStatement(reconciliation.Get(), statement.Get());
}

void ImportTest::SetAccount(const wchar_t* sortCode, const wchar_t* accountNumber) {
    scenario->settings.sortCode.reset();
    scenario->settings.accountNumber.reset();
    if (sortCode) scenario->settings.sortCode = sortCode;
    if (accountNumber) scenario->settings.accountNumber = accountNumber;
}

std::vector<std::string> ImportTest::Descriptions() const {
    std::vector<std::string> descriptions;
    if (statement)
        for (const auto& line : statement->Lines()) descriptions.push_back(line.description);
    return descriptions;
}

long ImportTest::Cancelled() const {
    long cancelled = -1;
    EXPECT_EQ(S_OK, service->get_Cancelled(&cancelled));
    return cancelled;
}

reference_host::OptionsBlock ImportTest::OptionsGivenToChooser() const {
    reference_host::OptionsBlock block{};
    const auto calls = scenario->log.Calls("FileChooser", "SetOptions");
    EXPECT_FALSE(calls.empty());
    if (calls.empty()) return block;
    const auto& options = calls.back().bytes;
    EXPECT_EQ(block.size(), options.size());
    std::copy(options.begin(), options.begin() + static_cast<long>(std::min(options.size(), block.size())), block.begin());
    return block;
}

FileRecognizer ImportTest::RecognizerGivenToChooser() const {
    return reference_host::RecognizerOf(OptionsGivenToChooser());
}
