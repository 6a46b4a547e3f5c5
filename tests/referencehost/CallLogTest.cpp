// The call log and the statement's lines record what a caller passed, in
// order; reference counts and live objects return to where they started.
#include "HostTestSupport.h"

#include <cstring>
#include <vector>

namespace reference_host {
namespace {

class CallLogTest : public HostTest {};

using Operations = std::vector<std::string>;

TEST_F(CallLogTest, RecordsTheCallsOfAnImportWithTheirValuesInOrder) {
    scenario->settings.sortCode = L"12-34-56";
    ComPtr<HostReconciliation> reconciliation = scenario->CreateReconciliation();
    ComPtr<HostStatement> statement = scenario->CreateStatement();

    EXPECT_EQ(statement->Clear(), S_OK);
    EXPECT_EQ(statement->put_Balance(0.0), S_OK);
    ComPtr<IHostBankAccount> account;
    ASSERT_EQ(reconciliation->get_BankAccount(account.Put()), S_OK);
    BStr accountNumber, sortCode;
    EXPECT_EQ(account->get_AccountNumber(accountNumber.Put()), S_OK);
    EXPECT_EQ(accountNumber.Get(), nullptr);
    EXPECT_EQ(account->get_SortCode(sortCode.Put()), S_OK);
    EXPECT_EQ(TextOf(sortCode.Get()), "12-34-56");
    {
        ComPtr<IHostStatementLine> line;
        ASSERT_EQ(statement->AddLine(line.Put()), S_OK);
        Variant number;
        V_VT(number.Get()) = VT_I4;
        V_I4(number.Get()) = 1;
        line->put_Number(number.Get());
        line->put_Direction(1);
        line->put_Amount(12.5);
        line->put_Date(40850.0);
        line->put_Description(BStr(L"Salary").Get());
        line->put_Reference(BStr(L"BGC").Get());
        EXPECT_EQ(RefCount(line.Get()), 2u);  // the caller's and the statement's
    }

    EXPECT_EQ(scenario->log.Operations(),
              (Operations{"Statement.Clear", "Statement.put_Balance", "Reconciliation.get_BankAccount",
                          "BankAccount.get_AccountNumber", "BankAccount.get_SortCode", "Statement.AddLine",
                          "StatementLine.put_Number", "StatementLine.put_Direction", "StatementLine.put_Amount",
                          "StatementLine.put_Date", "StatementLine.put_Description",
                          "StatementLine.put_Reference"}));
    const std::vector<CallEntry>& log = scenario->log.Entries();
    EXPECT_EQ(log[1].value, "0");
    EXPECT_EQ(log[6].value, "VT_I4 1");
    EXPECT_EQ(log[8].value, "12.5");
    EXPECT_EQ(log[9].value, "40850");
    EXPECT_EQ(log[10].value, "Salary");
    EXPECT_EQ(log[6].instance, 1);
    for (const CallEntry& entry : log) EXPECT_EQ(entry.result, S_OK) << entry.operation;

    const std::vector<StatementLineValues> lines = statement->Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].number, "VT_I4 1");
    EXPECT_EQ(lines[0].direction, 1);
    EXPECT_EQ(lines[0].amount, 12.5);
    EXPECT_EQ(lines[0].date, 40850.0);
    EXPECT_EQ(lines[0].description, "Salary");
    EXPECT_EQ(lines[0].reference, "BGC");
}

TEST_F(CallLogTest, RecordsTheBankNameRecordsWholeAndFillsTheOptionsBlock) {
    ComPtr<HostBankSetup> setup = scenario->CreateBankSetup();
    unsigned char name[kFileOptionsBankNameSize] = {};
    std::strcpy(reinterpret_cast<char*>(name), "Pendrel Business Internet Banking");
    OptionsBlock options{};
    ASSERT_EQ(setup->GetFileOptions(name, options.data()), S_OK);
    EXPECT_EQ(options, HostOptionsBlock());

    std::vector<unsigned char> record(kBankSetupRecordSize, 0);
    std::strcpy(reinterpret_cast<char*>(record.data()), "Pendrel Business Internet Banking");
    record.back() = 'x';  // not padded with zeros to the end
    ASSERT_EQ(setup->OpenBankSetup(record.data(), 1), S_OK);

    const std::vector<CallEntry>& log = scenario->log.Entries();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].value, "Pendrel Business Internet Banking");
    EXPECT_EQ(log[0].bytes.size(), kFileOptionsBankNameSize);
    EXPECT_TRUE(IsZeroPaddedText(log[0].bytes));
    EXPECT_EQ(log[1].value, "Pendrel Business Internet Banking, 1");
    EXPECT_EQ(log[1].bytes, record);
    EXPECT_FALSE(IsZeroPaddedText(log[1].bytes));
}

TEST_F(CallLogTest, DispatchCallsReachTheSameOperations) {
    ComPtr<HostStatement> statement = scenario->CreateStatement();
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(statement->QueryInterface(IID_IDispatch, dispatch.PutVoid()), S_OK);
    UINT count = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);

    LPOLESTR name = const_cast<LPOLESTR>(L"Balance");
    DISPID balance = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &balance), S_OK);
    Variant value;
    V_VT(value.Get()) = VT_R8;
    V_R8(value.Get()) = 2.5;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{value.Get(), &named, 1, 1};
    EXPECT_EQ(dispatch->Invoke(balance, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &parameters, nullptr,
                               nullptr, nullptr),
              S_OK);
    EXPECT_EQ(statement->Balance(), 2.5);
    ASSERT_EQ(scenario->log.Operations(), Operations{"Statement.put_Balance"});
    EXPECT_EQ(scenario->log.Entries()[0].value, "2.5");
}

// A log that keeps only some operations still counts the others, so that a
// planned failure of their n-th call still comes on the n-th call.
TEST_F(CallLogTest, KeepsOnlyTheOperationsAskedForAndCountsEveryCall) {
    ComPtr<HostStatement> statement = scenario->CreateStatement();
    scenario->log.KeepOnly({{"Statement", "put_Balance"}});
    scenario->failures.Inject("Statement", "Clear", {E_FAIL, L"", 2});

    EXPECT_EQ(statement->Clear(), S_OK);
    EXPECT_EQ(statement->put_Balance(1.5), S_OK);
    EXPECT_EQ(statement->Clear(), E_FAIL);
    scenario->log.KeepOnly({});
    EXPECT_EQ(statement->put_Balance(2.5), S_OK);

    ASSERT_EQ(scenario->log.Operations(), Operations{"Statement.put_Balance"});
    EXPECT_EQ(scenario->log.Entries()[0].value, "1.5");
    EXPECT_EQ(scenario->log.CountOf("Statement", "Clear"), 2);
    EXPECT_EQ(scenario->log.CountOf("Statement", "put_Balance"), 2);
}

TEST_F(CallLogTest, ReferenceCountsAndLiveObjectsReturnToTheirStart) {
    ComPtr<HostReconciliation> reconciliation = scenario->CreateReconciliation();
    EXPECT_EQ(RefCount(reconciliation.Get()), 1u);
    {
        ComPtr<IUnknown> unknown, dispatch;
        ComPtr<ISupportErrorInfo> errorSupport;
        ASSERT_EQ(reconciliation->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
        ASSERT_EQ(reconciliation->QueryInterface(IID_IDispatch, dispatch.PutVoid()), S_OK);
        ASSERT_EQ(reconciliation.As(errorSupport), S_OK);
        EXPECT_EQ(unknown.Get(), dispatch.Get());
        EXPECT_EQ(RefCount(reconciliation.Get()), 4u);
        void* runnable = &runnable;
        EXPECT_EQ(reconciliation->QueryInterface(IID_IRunnableObject, &runnable), E_NOINTERFACE);
        EXPECT_EQ(runnable, nullptr);

        ComPtr<IHostBankAccount> account;
        ASSERT_EQ(reconciliation->get_BankAccount(account.Put()), S_OK);
        EXPECT_EQ(RefCount(account.Get()), 2u);  // the caller's and the reconciliation's
        EXPECT_EQ(scenario->LiveObjects(), 2);
    }
    EXPECT_EQ(RefCount(reconciliation.Get()), 1u);
    ComPtr<HostStatement> statement = scenario->CreateStatement();
    for (int added = 0; added < 3; ++added) {
        ComPtr<IHostStatementLine> line;
        EXPECT_EQ(statement->AddLine(line.Put()), S_OK);
    }
    EXPECT_EQ(scenario->LiveObjects(), 6);
    statement->Clear();
    EXPECT_EQ(scenario->LiveObjects(), 3);
    reconciliation.Reset();
    statement.Reset();
    EXPECT_EQ(scenario->LiveObjects(), 0);
}

}  // namespace
}  // namespace reference_host
