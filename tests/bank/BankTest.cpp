// The bank object through the DLL: name, kind, the shared services
// collection, error support, and OpenSetup as a fake host bank set-up
// (registered for this process only) sees it.
#include "ModuleUnderTest.h"

#include <MavrinTorvVantryNewFormat.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr HRESULT kHostFailure = static_cast<HRESULT>(0x80040201);

// The host's bank set-up and its own class object, on the test's stack
// (plain counts). It keeps every record OpenBankSetup receives; with `fail`
// it leaves an error object on the thread and fails. It has
// ISupportErrorInfo (for IHostBankSetup) only with `supportsErrorInfo`.
class FakeBankSetup : public IHostBankSetup, public ISupportErrorInfo, public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHostBankSetup) *out = static_cast<IHostBankSetup*>(this);
        if (iid == IID_ISupportErrorInfo && supportsErrorInfo) *out = static_cast<ISupportErrorInfo*>(this);
        if (iid == IID_IClassFactory) *out = static_cast<IClassFactory*>(this);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++count; }
    STDMETHODIMP_(ULONG) Release() override { return --count; }
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override { return iid == IID_IHostBankSetup ? S_OK : S_FALSE; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetFileOptions(unsigned char*, unsigned char*) override { return E_NOTIMPL; }
    STDMETHODIMP OpenBankSetup(unsigned char* record, LONG value) override {
        records.emplace_back(record, record + 1024);
        mode = value;
        if (!fail) return S_OK;
        ComPtr<ICreateErrorInfo> created;
        ComPtr<IErrorInfo> error;
        CreateErrorInfo(created.Put());
        created->SetDescription(const_cast<LPOLESTR>(L"Host failed"));
        created.As(error);
        SetErrorInfo(0, error.Get());
        return kHostFailure;
    }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID iid, void** out) override {
        return refuseCreation ? E_OUTOFMEMORY : QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    ULONG count = 1;
    bool fail = false, supportsErrorInfo = true, refuseCreation = false;
    std::vector<std::vector<unsigned char>> records;
    LONG mode = 0;
};

// The fake is HostBankSetup's class object in this process while this lives.
class RegisteredBankSetup {
public:
    explicit RegisteredBankSetup(FakeBankSetup& setup) {
        EXPECT_EQ(S_OK, CoRegisterClassObject(CLSID_HostBankSetup, static_cast<IClassFactory*>(&setup),
                                              CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie));
    }
    ~RegisteredBankSetup() { CoRevokeClassObject(m_cookie); }

private:
    DWORD m_cookie = 0;
};

class BankTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        bank = Module().Create<IBank>(CLSID_Bank);
        ASSERT_TRUE(bank);
        SetErrorInfo(0, nullptr);
    }
    void TearDown() override {
        bank.Reset();
        ModuleTest::TearDown();
    }

    ComPtr<IBank> bank;
};

TEST_F(BankTest, NameKindAndNullOutPointers) {
    BStr first, second;
    ASSERT_EQ(S_OK, bank->get_Name(first.Put()));
    ASSERT_EQ(S_OK, bank->get_Name(second.Put()));
    EXPECT_STREQ(L"Pendrel Business Internet Banking", first.Get());
    EXPECT_EQ(33u, first.Length());
    EXPECT_NE(first.Get(), second.Get()) << "a new string on every call";
    long kind = 0;
    EXPECT_EQ(S_OK, bank->get_Kind(&kind));
    EXPECT_EQ(1, kind);

    EXPECT_EQ(kInvalidArgument, bank->get_Name(nullptr));
    EXPECT_EQ(kInvalidArgument, bank->get_Kind(nullptr));
    EXPECT_EQ(kInvalidArgument, bank->get_Services(nullptr));
    EXPECT_EQ(L"Invalid argument", TakeErrorDescription());
}

TEST_F(BankTest, ServicesAreOneCollectionThatOutlivesTheBank) {
    ComPtr<IMavrinBankServices> first, second;
    ASSERT_EQ(S_OK, bank->get_Services(first.Put()));
    ASSERT_EQ(S_OK, bank->get_Services(second.Put()));
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(3u, RefCount(first.Get())) << "the bank's reference and one per call";
    second.Reset();
    bank.Reset();
    EXPECT_EQ(1u, RefCount(first.Get()));
    long count = 0;
    EXPECT_EQ(S_OK, first->get_Count(&count));
    EXPECT_EQ(1, count);
}

TEST_F(BankTest, InterfacesAndErrorSupport) {
    ComPtr<IMavrinBank> host;
    ASSERT_EQ(S_OK, bank.As(host));
    EXPECT_EQ(static_cast<IMavrinBank*>(bank.Get()), host.Get());
    ComPtr<ISupportErrorInfo> errorSupport;
    ASSERT_EQ(S_OK, bank.As(errorSupport));
    EXPECT_EQ(S_OK, errorSupport->InterfaceSupportsErrorInfo(IID_IBank));
    for (const IID* iid : {&IID_IMavrinBank, &IID_IDispatch, &IID_IBankServices})
        EXPECT_EQ(S_FALSE, errorSupport->InterfaceSupportsErrorInfo(*iid));
}

TEST_F(BankTest, OpenSetupPassesTheZeroPaddedNameRecordAndOne) {
    FakeBankSetup setup;
    RegisteredBankSetup registered(setup);
    const ULONG registeredCount = setup.count;
    for (long argument : {0L, 7L, -1L}) EXPECT_EQ(S_OK, bank->OpenSetup(argument));

    ASSERT_EQ(3u, setup.records.size());
    EXPECT_EQ(1, setup.mode);
    EXPECT_EQ(registeredCount, setup.count) << "the host object is released after each call";
    const char name[] = "Pendrel Business Internet Banking";
    for (const auto& record : setup.records) {
        EXPECT_EQ(0, std::memcmp(name, record.data(), sizeof name));
        EXPECT_TRUE(std::all_of(record.begin() + sizeof name, record.end(), [](unsigned char b) { return b == 0; }));
    }
}

TEST_F(BankTest, OpenSetupFailuresEndInDispException) {
    struct Row {
        const char* what;
        bool refuseCreation, supportsErrorInfo;
        const wchar_t* leftOnThread;
    } const rows[] = {
        {"set-up cannot be created", true, true, nullptr},
        {"host supports error info: its error object is taken", false, true, nullptr},
        {"host does not: its error object stays", false, false, L"Host failed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeBankSetup setup;
        setup.fail = true;
        setup.refuseCreation = row.refuseCreation;
        setup.supportsErrorInfo = row.supportsErrorInfo;
        RegisteredBankSetup registered(setup);
        const ULONG registeredCount = setup.count;
        EXPECT_EQ(DISP_E_EXCEPTION, bank->OpenSetup(0));
        const auto left = row.leftOnThread ? std::optional<std::wstring>(row.leftOnThread) : std::nullopt;
        EXPECT_EQ(left, TakeErrorDescription());
        EXPECT_EQ(row.refuseCreation ? 0u : 1u, setup.records.size());
        EXPECT_EQ(registeredCount, setup.count);
    }
}

}  // namespace
