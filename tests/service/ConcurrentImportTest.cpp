// Several hosts importing at once through the one module: each on a thread
// of its own, in its own apartment, with its own statement, many times. Every
// line each host receives must be a line of its own statement, whole.
#include "ApartmentThreads.h"
#include "ModuleUnderTest.h"
#include "ReferenceHost.h"
#include "StatementTestFiles.h"

#include <MavrinTorvVantryNewFormat.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kHosts = 4;
constexpr int kLinesPerStatement = 1500;
constexpr int kImportsPerHost = 3;

// What one host received that its statement does not say, or "" when every
// line of every import was its own.
struct HostOutcome {
    int imports = 0;
    int wrongLines = 0;
    std::string firstWrong;
};

std::string Differences(const reference_host::StatementLineValues& got, const ExpectedLine& expected) {
    std::string found;
    if (got.number != "VT_I4 " + std::to_string(expected.number)) found += " number " + got.number;
    if (got.description != expected.description) found += " description " + got.description;
    if (got.reference != expected.typeCode) found += " reference " + got.reference;
    if (got.direction != (expected.debit ? 0 : 1)) found += " direction " + std::to_string(got.direction);
    if (got.amount != expected.amount) found += " amount " + std::to_string(got.amount);
    if (got.date != expected.date) found += " date " + std::to_string(got.date);
    return found;
}

void ImportRepeatedly(const GeneratedStatement& file, HostOutcome& outcome) {
    const auto scenario = reference_host::Scenario::Create();
    scenario->settings.sortCode = L"12-34-56";
    scenario->settings.accountNumber = L"12345678";
    const std::string path = file.Path();
    scenario->settings.chosenFile = std::wstring(path.begin(), path.end());
    const reference_host::ClassRegistration registration(scenario);
    const ComPtr<IBankStatementService> service = Module().Create<IBankStatementService>(CLSID_BankStatementService);
    if (!service) return;
    for (int round = 0; round < kImportsPerHost; ++round) {
        const auto reconciliation = scenario->CreateReconciliation();
        const auto statement = scenario->CreateStatement();
        if (FAILED(service->ImportStatement(reconciliation.Get(), statement.Get()))) return;
        const auto lines = statement->Lines();
        for (size_t index = 0; index < file.Expected().size(); ++index) {
            const std::string wrong = index < lines.size() ? Differences(lines[index], file.Expected()[index]) : " missing";
            if (wrong.empty()) continue;
            if (outcome.wrongLines++ == 0) outcome.firstWrong = "line " + std::to_string(index + 1) + ":" + wrong;
        }
        outcome.wrongLines += static_cast<int>(lines.size() > file.Expected().size());
        ++outcome.imports;
    }
}

using ConcurrentImportTest = ModuleTest;

TEST_F(ConcurrentImportTest, EachHostReceivesExactlyItsOwnStatement) {
    std::vector<std::unique_ptr<GeneratedStatement>> files;
    for (int host = 0; host < kHosts; ++host) files.push_back(std::make_unique<GeneratedStatement>(host, kLinesPerStatement));
    std::vector<HostOutcome> outcomes(kHosts);
    RunInApartmentsAtOnce(kHosts, [&](int host) { ImportRepeatedly(*files[host], outcomes[host]); });
    for (int host = 0; host < kHosts; ++host) {
        SCOPED_TRACE("host " + std::to_string(host));
        EXPECT_EQ(kImportsPerHost, outcomes[host].imports);
        EXPECT_EQ(0, outcomes[host].wrongLines) << outcomes[host].firstWrong;
    }
}

}  // namespace
