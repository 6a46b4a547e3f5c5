// Planned outcomes replace an operation's work: the planned code, the
// planned error object, the planned ISupportErrorInfo answer, null results
// for planned success, one call only, or every call.
#include "HostTestSupport.h"

#include <stdexcept>

namespace reference_host {
namespace {

class FailurePlanTest : public HostTest {};

TEST_F(FailurePlanTest, PlannedFailureLeavesItsErrorObjectAndErrorSupportAnswer) {
    scenario->failures.Inject("FileChooser", "SetOptions", {E_ACCESSDENIED, L"No access to the chooser"});
    ComPtr<HostFileChooser> chooser = scenario->CreateFileChooser();
    OptionsBlock options = HostOptionsBlock();

    EXPECT_EQ(chooser->SetOptions(options.data()), E_ACCESSDENIED);
    EXPECT_EQ(TakeErrorDescription(), L"No access to the chooser");
    EXPECT_EQ(scenario->log.Entries().back().result, E_ACCESSDENIED);

    ComPtr<ISupportErrorInfo> errorSupport;
    ASSERT_EQ(chooser.As(errorSupport), S_OK);
    EXPECT_EQ(errorSupport->InterfaceSupportsErrorInfo(IID_IHostFileChooser), S_OK);
    EXPECT_EQ(errorSupport->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    scenario->failures.SetErrorSupport("FileChooser", false);
    EXPECT_EQ(errorSupport->InterfaceSupportsErrorInfo(IID_IHostFileChooser), S_FALSE);
    EXPECT_EQ(scenario->log.Entries().back().value, "IHostFileChooser");

    // A failure without a description leaves no error object behind.
    scenario->failures.Inject("FileChooser", "SetOptions", {E_FAIL});
    EXPECT_EQ(chooser->SetOptions(options.data()), E_FAIL);
    EXPECT_EQ(TakeErrorDescription(), std::nullopt);
}

TEST_F(FailurePlanTest, PlannedSuccessAndMissingSettingsGiveNullResults) {
    scenario->failures.Inject("Statement", "AddLine", {S_OK});
    scenario->failures.Inject("Reconciliation", "get_BankAccount", {S_OK, {}, 1});
    ComPtr<HostStatement> statement = scenario->CreateStatement();
    ComPtr<HostReconciliation> reconciliation = scenario->CreateReconciliation();

    ComPtr<IHostStatementLine> line;
    EXPECT_EQ(statement->AddLine(line.Put()), S_OK);
    EXPECT_FALSE(line);
    EXPECT_TRUE(statement->Lines().empty());
    ComPtr<IHostBankAccount> account;
    EXPECT_EQ(reconciliation->get_BankAccount(account.Put()), S_OK);
    EXPECT_FALSE(account);
    EXPECT_EQ(reconciliation->get_BankAccount(account.Put()), S_OK);  // the plan was for the first call only
    ASSERT_TRUE(account);

    BStr sortCode(L"stale");
    EXPECT_EQ(account->get_SortCode(sortCode.Put()), S_OK);
    EXPECT_EQ(sortCode.Get(), nullptr);
    scenario->settings.hasBankAccount = false;
    EXPECT_EQ(reconciliation->get_BankAccount(account.Put()), E_FAIL);
    EXPECT_FALSE(account);
}

TEST_F(FailurePlanTest, OneCallOrEveryCallFails) {
    scenario->failures.Inject("Statement", "AddLine", {E_OUTOFMEMORY, {}, 2});
    ComPtr<HostStatement> statement = scenario->CreateStatement();
    ComPtr<IHostStatementLine> line;
    EXPECT_EQ(statement->AddLine(line.Put()), S_OK);
    EXPECT_EQ(statement->AddLine(line.Put()), E_OUTOFMEMORY);
    EXPECT_FALSE(line);
    EXPECT_EQ(statement->AddLine(line.Put()), S_OK);
    EXPECT_EQ(statement->Lines().size(), 2u);

    scenario->failures.FailEveryCall(E_UNEXPECTED);
    EXPECT_EQ(statement->Clear(), E_UNEXPECTED);
    EXPECT_EQ(statement->Lines().size(), 2u);
    EXPECT_EQ(line->put_Amount(1.0), E_UNEXPECTED);
    ComPtr<HostFileChooser> chooser = scenario->CreateFileChooser();
    LONG status = 77;
    EXPECT_EQ(chooser->Show(&status), E_UNEXPECTED);
    EXPECT_EQ(status, 77);  // a failed Show does not set the status
    ComPtr<ISupportErrorInfo> errorSupport;
    ASSERT_EQ(chooser.As(errorSupport), S_OK);
    EXPECT_EQ(errorSupport->InterfaceSupportsErrorInfo(IID_IHostFileChooser), S_OK);

    scenario->failures.FailEveryCall(S_OK);
    EXPECT_EQ(statement->Clear(), S_OK);
}

TEST_F(FailurePlanTest, PlansForOperationsTheHostDoesNotHaveAreRefused) {
    EXPECT_THROW(scenario->failures.Inject("Statement", "AddLines", {}), std::invalid_argument);
    EXPECT_THROW(scenario->failures.Inject("Chooser", "Show", {}), std::invalid_argument);
    EXPECT_THROW(scenario->failures.SetErrorSupport("Bank", false), std::invalid_argument);
    EXPECT_THROW(scenario->failures.Interject("Statement", "AddLines", 1, [] {}), std::invalid_argument);
    EXPECT_NO_THROW(scenario->failures.Inject("StatementLine", "put_CounterpartyAccount", {}));
}

}  // namespace
}  // namespace reference_host
