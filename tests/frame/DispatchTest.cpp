// IDispatch of the module's objects, served from the registered type
// libraries.
#include "ApartmentThreads.h"
#include "ModuleUnderTest.h"

#include <MavrinTorvVantryNewFormat.h>

#include <string>
#include <vector>

namespace {

DISPID IdOf(IDispatch* object, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)) << name;
    return id;
}

HRESULT GetProperty(IDispatch* object, DISPID id, Variant& result) {
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, result.Put(), nullptr,
                          nullptr);
}

HRESULT PutProperty(IDispatch* object, DISPID id, long value) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {&argument, &named, 1, 1};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &parameters, nullptr, nullptr,
                          nullptr);
}

class DispatchTest : public ModuleTest {
protected:
    static void SetUpTestSuite() { s_libraries = new RegisteredTypeLibraries; }
    static void TearDownTestSuite() {
        delete s_libraries;
        s_libraries = nullptr;
    }

    void SetUp() override {
        ModuleTest::SetUp();
        service = Module().Create<IDispatch>(CLSID_BankStatementService);
        ASSERT_TRUE(service);
    }
    void TearDown() override {
        service.Reset();
        ModuleTest::TearDown();
    }

    static RegisteredTypeLibraries* s_libraries;
    ComPtr<IDispatch> service;
};

RegisteredTypeLibraries* DispatchTest::s_libraries = nullptr;

TEST_F(DispatchTest, OneTypeInfoWhateverTheIndex) {
    UINT count = 0;
    EXPECT_EQ(S_OK, service->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    EXPECT_EQ(E_POINTER, service->GetTypeInfoCount(nullptr));
    ComPtr<ITypeInfo> first, fifth;
    ASSERT_EQ(S_OK, service->GetTypeInfo(0, LOCALE_USER_DEFAULT, first.Put()));
    ASSERT_EQ(S_OK, service->GetTypeInfo(5, LOCALE_USER_DEFAULT, fifth.Put()));
    EXPECT_EQ(first.Get(), fifth.Get());
}

TEST_F(DispatchTest, NamesResolveWhateverTheirCase) {
    const DISPID name = IdOf(service.Get(), L"Name");
    EXPECT_EQ(name, IdOf(service.Get(), L"NAME"));
    EXPECT_EQ(IdOf(service.Get(), L"Cancelled"), IdOf(service.Get(), L"cancelled"));
    EXPECT_NE(name, IdOf(service.Get(), L"Cancelled"));

    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, service->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id));
}

TEST_F(DispatchTest, MemberAndParameterNamesTogether) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"ReservedMethod2"), const_cast<LPOLESTR>(L"value")};
    DISPID ids[2] = {DISPID_UNKNOWN, DISPID_UNKNOWN};
    ASSERT_EQ(S_OK, service->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids));
    EXPECT_EQ(IdOf(service.Get(), L"ReservedMethod2"), ids[0]);
    EXPECT_EQ(0, ids[1]);
}

TEST_F(DispatchTest, InvokeReadsAndWritesProperties) {
    Variant name;
    ASSERT_EQ(S_OK, GetProperty(service.Get(), IdOf(service.Get(), L"Name"), name));
    ASSERT_EQ(VT_BSTR, name->vt);
    EXPECT_STREQ(L"Bank Reconciliation Service", name->bstrVal);

    const DISPID cancelled = IdOf(service.Get(), L"Cancelled");
    ASSERT_EQ(S_OK, PutProperty(service.Get(), cancelled, 3));
    Variant value;
    ASSERT_EQ(S_OK, GetProperty(service.Get(), cancelled, value));
    ASSERT_EQ(VT_I4, value->vt);
    EXPECT_EQ(3, value->lVal);
}

// The module copied under another name loads as a separate module whose
// type information has never been loaded, whatever this program did before.
class FreshModuleCopy {
public:
    FreshModuleCopy() {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        m_path = std::string(folder) + "FreshModuleCopy.dll";
        CopyFileA(PENDREL_MODULE_DLL, m_path.c_str(), FALSE);
        m_module.Reset(LoadLibraryA(m_path.c_str()));
    }
    ~FreshModuleCopy() {
        m_module.Reset();
        DeleteFileA(m_path.c_str());
    }
    ComPtr<IDispatch> CreateService() const {
        using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        auto get = reinterpret_cast<GetClassObject>(
            reinterpret_cast<void*>(GetProcAddress(m_module.Get(), "DllGetClassObject")));
        ComPtr<IClassFactory> factory;
        ComPtr<IDispatch> service;
        if (get && SUCCEEDED(get(CLSID_BankStatementService, IID_IClassFactory, factory.PutVoid())))
            factory->CreateInstance(nullptr, IID_IDispatch, service.PutVoid());
        return service;
    }

private:
    std::string m_path;
    ModuleHandle m_module;
};

TEST_F(DispatchTest, UnregisteredLibraryFailsUntilRegisteredWithoutReloading) {
    FreshModuleCopy copy;
    ComPtr<IDispatch> fresh = copy.CreateService();
    ASSERT_TRUE(fresh);
    s_libraries->UnregisterModuleLibrary();

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Name")};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT unregistered = fresh->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    EXPECT_EQ(TYPE_E_LIBNOTREGISTERED, unregistered);
    ComPtr<ITypeInfo> none;
    EXPECT_EQ(unregistered, fresh->GetTypeInfo(0, LOCALE_USER_DEFAULT, none.Put()));
    EXPECT_FALSE(none);
    Variant value;
    EXPECT_EQ(unregistered, GetProperty(fresh.Get(), 1, value));

    s_libraries->RegisterModuleLibrary();
    EXPECT_EQ(S_OK, fresh->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(S_OK, GetProperty(fresh.Get(), id, value));
}

// Apartments that make their first calls at the same moment all get the
// class object and the type information, loaded once, as if alone.
TEST_F(DispatchTest, FirstCallsFromSeveralApartmentsAtOnce) {
    constexpr int kApartments = 4;
    std::vector<std::wstring> names(kApartments);
    RunInApartmentsAtOnce(kApartments, [&](int apartment) {
        const ComPtr<IDispatch> bank = Module().Create<IDispatch>(CLSID_Bank);
        if (!bank) return;
        LPOLESTR name[] = {const_cast<LPOLESTR>(L"Name")};
        DISPID id = DISPID_UNKNOWN;
        Variant value;
        if (SUCCEEDED(bank->GetIDsOfNames(IID_NULL, name, 1, LOCALE_USER_DEFAULT, &id)) &&
            SUCCEEDED(GetProperty(bank.Get(), id, value)) && value->vt == VT_BSTR)
            names[apartment] = value->bstrVal;
    });
    EXPECT_EQ(std::vector<std::wstring>(kApartments, L"Pendrel Business Internet Banking"), names);
}

}  // namespace
