// The statement service object as a client sees it through the DLL.
#include "ModuleUnderTest.h"

#include <MavrinTorvVantryNewFormat.h>

namespace {

class StatementServiceTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        service = Module().Create<IBankStatementService>(CLSID_BankStatementService);
        ASSERT_TRUE(service);
    }
    void TearDown() override {
        service.Reset();
        ModuleTest::TearDown();
    }

    ComPtr<IBankStatementService> service;
};

TEST_F(StatementServiceTest, NameIsANewStringOnEveryCall) {
    BStr first, second;
    ASSERT_EQ(S_OK, service->get_Name(first.Put()));
    ASSERT_EQ(S_OK, service->get_Name(second.Put()));
    EXPECT_STREQ(L"Bank Reconciliation Service", first.Get());
    EXPECT_STREQ(L"Bank Reconciliation Service", second.Get());
    EXPECT_EQ(27u, first.Length());
    EXPECT_NE(first.Get(), second.Get());
}

TEST_F(StatementServiceTest, CancelledKeepsWhateverIsStored) {
    long cancelled = -1;
    ASSERT_EQ(S_OK, service->get_Cancelled(&cancelled));
    EXPECT_EQ(0, cancelled);
    EXPECT_EQ(S_OK, service->put_Cancelled(5));
    ASSERT_EQ(S_OK, service->get_Cancelled(&cancelled));
    EXPECT_EQ(5, cancelled);
}

TEST_F(StatementServiceTest, NullPointersGiveTheInvalidArgumentError) {
    const HRESULT results[] = {
        service->get_Name(nullptr),
        service->get_Cancelled(nullptr),
        service->ReservedMethod1(nullptr),
        service->ReservedMethod2(7, nullptr),
        service->ReservedMethod3(7, nullptr),
    };
    for (HRESULT result : results) EXPECT_EQ(kInvalidArgument, result);
    // Each failure published its description; the last one is on the thread.
    EXPECT_EQ(L"Invalid argument", TakeErrorDescription());
}

TEST_F(StatementServiceTest, ReservedMethodsLeaveTheirTargetAlone) {
    long target = 42;
    EXPECT_EQ(S_OK, service->ReservedMethod1(&target));
    EXPECT_EQ(S_OK, service->ReservedMethod2(0, &target));
    EXPECT_EQ(S_OK, service->ReservedMethod3(-1, &target));
    EXPECT_EQ(42, target);
    EXPECT_FALSE(TakeErrorDescription());
}

TEST_F(StatementServiceTest, InterfacesShareOneIdentity) {
    const IID* same[] = {&IID_IUnknown, &IID_IDispatch, &IID_IBankStatementService, &IID_IMavrinBankStatementService};
    for (const IID* iid : same) {
        ComPtr<IUnknown> found;
        ASSERT_EQ(S_OK, service.QueryTo(*iid, found.PutVoid()));
        EXPECT_EQ(static_cast<IUnknown*>(service.Get()), found.Get());
    }
    ComPtr<ISupportErrorInfo> errorSupport;
    ASSERT_EQ(S_OK, service.As(errorSupport));
    EXPECT_NE(static_cast<void*>(errorSupport.Get()), static_cast<void*>(service.Get()));

    ComPtr<IUnknown> missing;
    EXPECT_EQ(E_NOINTERFACE, service.QueryTo(IID_IMavrinBankService, missing.PutVoid()));
    EXPECT_FALSE(missing);
    EXPECT_EQ(2u, RefCount(service.Get())) << "the test's reference and errorSupport's";
}

TEST_F(StatementServiceTest, ErrorSupportOnlyForItsOwnInterface) {
    ComPtr<ISupportErrorInfo> errorSupport;
    ASSERT_EQ(S_OK, service.As(errorSupport));
    EXPECT_EQ(S_OK, errorSupport->InterfaceSupportsErrorInfo(IID_IBankStatementService));
    EXPECT_EQ(S_FALSE, errorSupport->InterfaceSupportsErrorInfo(IID_IDispatch));
    EXPECT_EQ(S_FALSE, errorSupport->InterfaceSupportsErrorInfo(IID_IMavrinBankStatementService));
    EXPECT_EQ(S_FALSE, errorSupport->InterfaceSupportsErrorInfo(IID_IMavrinBankService));
}

}  // namespace
