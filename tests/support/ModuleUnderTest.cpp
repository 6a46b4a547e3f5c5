#include "ModuleUnderTest.h"

#include <MavrinTorvVantryNewFormat.h>

#include <cstring>
#include <string>

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HRESULT RegisterFromFile(const wchar_t* path) {
    ComPtr<ITypeLib> library;
    HRESULT result = LoadTypeLibEx(path, REGKIND_NONE, library.Put());
    if (SUCCEEDED(result)) result = RegisterTypeLib(library.Get(), const_cast<wchar_t*>(path), nullptr);
    return result;
}

std::wstring Widen(const char* text) { return std::wstring(text, text + strlen(text)); }

std::wstring HostLibrary(const char* name) { return Widen(PENDREL_TYPELIB_DIR) + L"/" + Widen(name); }

}  // namespace

ModuleUnderTest::ModuleUnderTest(const char* path) : m_module(LoadLibraryA(path)) {
    if (!m_module) ADD_FAILURE() << "cannot load " << path;
    m_getClassObject = Export<decltype(m_getClassObject)>(m_module.Get(), "DllGetClassObject");
    m_canUnloadNow = Export<decltype(m_canUnloadNow)>(m_module.Get(), "DllCanUnloadNow");
}

HRESULT ModuleUnderTest::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const {
    return m_getClassObject(clsid, iid, out);
}

HRESULT ModuleUnderTest::CanUnloadNow() const { return m_canUnloadNow(); }

const ModuleUnderTest& Module() {
    static const ModuleUnderTest module;
    return module;
}

RegisteredTypeLibraries::RegisteredTypeLibraries() {
    EXPECT_EQ(S_OK, RegisterFromFile(HostLibrary("MavrinEBanking.tlb").c_str()));
    EXPECT_EQ(S_OK, RegisterFromFile(HostLibrary("MavrinBankReconciliation.tlb").c_str()));
    RegisterModuleLibrary();
}

RegisteredTypeLibraries::~RegisteredTypeLibraries() {
    UnregisterModuleLibrary();
    UnRegisterTypeLib(LIBID_MavrinBankReconciliation, 1, 0, 0, kThisSysKind);
    UnRegisterTypeLib(LIBID_MavrinEBanking, 1, 0, 0, kThisSysKind);
}

void RegisteredTypeLibraries::RegisterModuleLibrary() {
    EXPECT_EQ(S_OK, RegisterFromFile(Widen(PENDREL_MODULE_DLL).c_str()));
}

void RegisteredTypeLibraries::UnregisterModuleLibrary() {
    UnRegisterTypeLib(LIBID_MAVRINTORVVANTRY_NEWFORMATLib, 1, 0, 0, kThisSysKind);
}
