#include "Registration.h"

#include "CodePages.h"
#include "ComModule.h"
#include "Failures.h"
#include "RegObject.h"
#include "ResourceHolders.h"
#include "TypeLibraryRegistration.h"

#include <comcat.h>

#include <string>

namespace {

constexpr size_t kModulePathBuffer = MAX_PATH;
constexpr size_t kQuotedPathBuffer = 2 * MAX_PATH;
constexpr size_t kCategoryKeyBuffer = 128;

// This module's file name, narrow, in a 260-character buffer.
HRESULT ModuleFileName(char (&path)[kModulePathBuffer]) {
    const DWORD length = GetModuleFileNameA(ModuleInstance(), path, kModulePathBuffer);
    if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (length == kModulePathBuffer) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    return S_OK;
}

HRESULT Widen(const char* text, std::wstring& wide) { return AnsiToWide(text, wide) ? S_OK : E_OUTOFMEMORY; }

// The path with every single quote doubled, as the scripts quote it; the
// copy stops when its 520-character buffer is full.
std::wstring DoubleQuotes(const std::wstring& path) {
    std::wstring doubled;
    for (wchar_t c : path) {
        const size_t needed = c == L'\'' ? 2 : 1;
        if (doubled.size() + needed > kQuotedPathBuffer - 1) break;
        doubled.append(needed, c);
    }
    return doubled;
}

// Removes "CLSID\{class}\<subkey>" when it has no subkeys left; failures are
// ignored.
void RemoveEmptyCategoryKey(const std::string& classKey, const char* subkey) {
    const std::string name = classKey + "\\" + subkey;
    if (name.size() >= kCategoryKeyBuffer) return;
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return;
    DWORD subkeys = 0;
    const LONG queried =
        RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
    key.Reset();
    if (queried == ERROR_SUCCESS && subkeys == 0) RegDeleteKeyA(HKEY_CLASSES_ROOT, name.c_str());
}

void RemoveEmptyCategoryKeys(REFCLSID clsid) {
    wchar_t wide[64];
    if (!StringFromGUID2(clsid, wide, 64)) return;
    std::string narrow;
    if (!WideToAnsi(wide, narrow)) return;
    const std::string classKey = "CLSID\\" + narrow;
    RemoveEmptyCategoryKey(classKey, "Required Categories");
    RemoveEmptyCategoryKey(classKey, "Implemented Categories");
}

HRESULT RegisterCategory(ICatRegister* manager, REFCLSID clsid, const CategoryEntry& entry) {
    CATID category = *entry.category;
    return entry.kind == kImplementedCategory
               ? manager->RegisterClassImplCategories(clsid, 1, &category)
               : manager->RegisterClassReqCategories(clsid, 1, &category);
}

void UnregisterCategory(ICatRegister* manager, REFCLSID clsid, const CategoryEntry& entry) {
    CATID category = *entry.category;
    if (entry.kind == kImplementedCategory)
        manager->UnRegisterClassImplCategories(clsid, 1, &category);
    else
        manager->UnRegisterClassReqCategories(clsid, 1, &category);
}

// The folder of a help file name: everything up to its last "\", "/" or ":".
std::wstring HelpDirectory(const wchar_t* helpFile) {
    std::wstring directory(helpFile ? helpFile : L"");
    if (directory.size() > MAX_PATH - 1) directory.resize(MAX_PATH - 1);
    const size_t cut = directory.find_last_of(L"\\/:");
    return cut == std::wstring::npos ? std::wstring() : directory.substr(0, cut + 1);
}

}  // namespace

HRESULT RunRegistryScript(UINT resourceId, BOOL registerMode) {
    CRegObject registrar;
    RETURN_IF_FAILED(registrar.AddScriptReplacement(L"APPID", L""));
    char path[kModulePathBuffer];
    RETURN_IF_FAILED(ModuleFileName(path));
    std::wstring widePath;
    RETURN_IF_FAILED(Widen(path, widePath));
    const std::wstring quoted = DoubleQuotes(widePath);
    RETURN_IF_FAILED(registrar.AddScriptReplacement(L"Module", quoted.c_str()));
    RETURN_IF_FAILED(registrar.AddScriptReplacement(L"Module_Raw", quoted.c_str()));
    return registrar.RunScriptResource(widePath.c_str(), resourceId, L"REGISTRY", registerMode);
}

HRESULT RegisterCategories(REFCLSID clsid, const CategoryEntry* categories, BOOL registerMode) {
    if (!categories || IsEqualCLSID(clsid, GUID_NULL)) return S_OK;
    ComPtr<ICatRegister> manager;
    if (FAILED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatRegister,
                                manager.PutVoid())))
        return S_OK;
    for (const CategoryEntry* entry = categories; entry->kind != 0; ++entry) {
        if (!registerMode) {
            UnregisterCategory(manager.Get(), clsid, *entry);
            continue;
        }
        RETURN_IF_FAILED(RegisterCategory(manager.Get(), clsid, *entry));
    }
    if (!registerMode) RemoveEmptyCategoryKeys(clsid);
    return S_OK;
}

HRESULT LoadModuleTypeLibrary(BSTR* path, ITypeLib** library) {
    if (!path || !library) return E_POINTER;
    *path = nullptr;
    *library = nullptr;
    char name[kModulePathBuffer];
    RETURN_IF_FAILED(ModuleFileName(name));
    std::string file(name);
    const size_t lastSlash = file.find_last_of('\\');
    const size_t dot = file.find_last_of('.');
    const size_t extension = dot != std::string::npos && (lastSlash == std::string::npos || dot > lastSlash) ? dot
                                                                                                             : file.size();
    std::wstring wide;
    RETURN_IF_FAILED(Widen(file.c_str(), wide));
    ComPtr<ITypeLib> loaded;
    if (FAILED(LoadTypeLib(wide.c_str(), loaded.Put()))) {
        if (extension + 5 > kModulePathBuffer) return E_FAIL;
        file = file.substr(0, extension) + ".tlb";
        RETURN_IF_FAILED(Widen(file.c_str(), wide));
        RETURN_IF_FAILED(LoadTypeLib(wide.c_str(), loaded.Put()));
    }
    BStr loadedPath(wide.c_str());
    if (!loadedPath.Get()) return E_OUTOFMEMORY;
    *path = loadedPath.Detach();
    *library = loaded.Detach();
    return S_OK;
}

HRESULT RegisterModuleTypeLibrary() {
    BStr path;
    ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(LoadModuleTypeLibrary(path.Put(), library.Put()));
    BStr helpFile;
    const bool documented = SUCCEEDED(library->GetDocumentation(-1, nullptr, nullptr, nullptr, helpFile.Put()));
    std::wstring helpDirectory = documented ? HelpDirectory(helpFile.Get()) : std::wstring();
    return RegisterTypeLib(library.Get(), path.Get(), documented ? helpDirectory.data() : nullptr);
}

HRESULT UnregisterModuleTypeLibrary() {
    BStr path;
    ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(LoadModuleTypeLibrary(path.Put(), library.Put()));
    return UnregisterTypeLibrary(library.Get());
}
