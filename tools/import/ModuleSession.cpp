#include "ModuleSession.h"

#include "FileProblems.h"
#include "Utf8Text.h"

#include <stdexcept>

namespace {

constexpr wchar_t kStatementServiceName[] = L"Bank Reconciliation Service";

void Check(HRESULT result, const char* what) {
    if (SUCCEEDED(result)) return;
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
    throw std::runtime_error(std::string(what) + " (" + code + ")");
}

}  // namespace

ModuleSession::ModuleSession(const std::wstring& modulePath) {
    if (modulePath.empty()) return;
    m_module.Reset(LoadLibraryW(modulePath.c_str()));
    if (m_module) return;
    const DWORD error = GetLastError();
    Check(HRESULT_FROM_WIN32(error), ("cannot load the module DLL \"" + Utf8(modulePath) + "\": " + SystemText(error)).c_str());
}

ComPtr<IBank> ModuleSession::CreateBank() const {
    ComPtr<IBank> bank;
    if (!m_module) {
        Check(CoCreateInstance(CLSID_Bank, nullptr, CLSCTX_INPROC_SERVER, IID_IBank, bank.PutVoid()),
              "cannot create the bank object; is the module registered?");
        return bank;
    }
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(m_module.Get(), "DllGetClassObject")));
    if (!get) throw std::runtime_error("the module DLL does not export DllGetClassObject");
    ComPtr<IClassFactory> factory;
    Check(get(CLSID_Bank, IID_IClassFactory, factory.PutVoid()), "the module has no class object for the bank");
    Check(factory->CreateInstance(nullptr, IID_IBank, bank.PutVoid()), "cannot create the bank object");
    return bank;
}

ComPtr<IBankStatementService> ModuleSession::StatementService() const {
    const ComPtr<IBank> bank = CreateBank();
    ComPtr<IMavrinBankServices> services;
    Check(bank->get_Services(services.Put()), "the bank object gives no services");
    Variant name;
    name->vt = VT_BSTR;
    name->bstrVal = SysAllocString(kStatementServiceName);
    ComPtr<IMavrinBankService> found;
    Check(services->Item(name.Get(), found.Put()), "the bank offers no statement service");
    ComPtr<IBankStatementService> service;
    Check(found.As(service), "the bank's statement service is not a statement service");
    return service;
}
