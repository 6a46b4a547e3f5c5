// The registry-writing half of the registrar. The text half (expansion,
// tokens, tables, value data) is in RegistryScriptText.cpp.
//
// The register and unregister walks read a block the same way, token for
// token: an entry is "Val name = type 'text'", or an optional keyword, a key
// name, an optional "= type 'text'" and an optional "{" block. That is what
// lets a failed register run be undone by walking the same root block again
// in unregister mode. Before either walk starts on a root block, the block's
// brace structure is checked (CheckBlockStructure), so a misplaced "{" or a
// too deep nesting is reported before anything is written or removed.
//
// Traps:
// - A block of a key that is absent is still read through, in "recovery":
//   nothing is opened or removed in it, but its syntax still counts.
// - Keys are opened read-only while unregistering; deleting a value reopens
//   the parent for writing.
// - Every key opened here lives in a RegistryKey, closed on every path.
// - Running out of memory is caught once, where a caller enters (adding a
//   replacement, running a script or a script resource). The walks below
//   allocate nothing that can throw (the text layer answers OutOfMemory
//   instead), so a failed register walk is always undone.
#include "RegObject.h"

#include "CodePages.h"
#include "Failures.h"
#include "ResourceHolders.h"

#include <oleauto.h>

#include <cstring>
#include <new>
#include <string_view>
#include <utility>

using registry_script::Keyword;
using registry_script::KeywordOf;
using registry_script::StartsWith;
using registry_script::TextStatus;

namespace {

// The name of a key remembered for deletion during unregistration is cut to
// this many bytes.
constexpr std::size_t kMaxRememberedKeyNameBytes = 259;
// Subkey names are read into a buffer of this many bytes while a key tree
// is deleted.
constexpr DWORD kSubkeyNameBufferBytes = 256;

struct RootKey {
    const char* name;
    HKEY key;
};

// Searched in this order.
const RootKey kRootKeys[] = {
    {"HKCR", HKEY_CLASSES_ROOT},
    {"HKCU", HKEY_CURRENT_USER},
    {"HKLM", HKEY_LOCAL_MACHINE},
    {"HKU", HKEY_USERS},
    {"HKPD", HKEY_PERFORMANCE_DATA},
    {"HKDD", HKEY_DYN_DATA},
    {"HKCC", HKEY_CURRENT_CONFIG},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

bool FindRootKey(std::string_view name, HKEY& key) {
    for (const RootKey& root : kRootKeys) {
        if (registry_script::EqualsIgnoringCase(name, root.name)) {
            key = root.key;
            return true;
        }
    }
    return false;
}

HRESULT FromTextStatus(TextStatus status) {
    switch (status) {
    case TextStatus::Ok:
        return S_OK;
    case TextStatus::SyntaxError:
        return DISP_E_EXCEPTION;
    case TextStatus::Fail:
        return E_FAIL;
    case TextStatus::OutOfMemory:
        return E_OUTOFMEMORY;
    }
    return E_UNEXPECTED;
}

HRESULT FromRegistryError(LONG error) { return HRESULT_FROM_WIN32(static_cast<DWORD>(error)); }

// The result for a failed loader call; a call that failed without saying
// why still fails.
HRESULT LastErrorResult() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// Runs `step`, the work of one entry point, answering E_OUTOFMEMORY when it
// runs out of memory.
template <typename Step>
HRESULT CatchOutOfMemory(Step step) {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Opens `name` below `parent` (the parent itself for a null name).
LONG OpenKey(HKEY parent, const char* name, REGSAM access, RegistryKey& key) {
    HKEY opened = nullptr;
    const LONG error = RegOpenKeyExA(parent, name, 0, access, &opened);
    if (error == ERROR_SUCCESS) key.Reset(opened);
    return error;
}

LONG CreateKey(HKEY parent, const char* name, RegistryKey& key) {
    HKEY created = nullptr;
    const LONG error = RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_READ | KEY_WRITE, nullptr, &created, nullptr);
    if (error == ERROR_SUCCESS) key.Reset(created);
    return error;
}

LONG SetValue(HKEY key, const char* valueName, DWORD type, const void* data, std::size_t size) {
    return RegSetValueExA(key, valueName, 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size));
}

}  // namespace

CRegObject::~CRegObject() { ClearScriptReplacements(); }

STDMETHODIMP CRegObject::QueryInterface(REFIID, void** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP_(ULONG) CRegObject::AddRef() { return 1; }

STDMETHODIMP_(ULONG) CRegObject::Release() { return 0; }

STDMETHODIMP CRegObject::AddScriptReplacement(LPCOLESTR name, LPCOLESTR replacement) {
    if (!name || !replacement) return E_INVALIDARG;
    return CatchOutOfMemory([&] {
        ReplacementPair pair;
        if (!WideToAnsi(name, pair.name)) return E_OUTOFMEMORY;
        pair.text = replacement;
        m_replacements.push_back(std::move(pair));
        return S_OK;
    });
}

STDMETHODIMP CRegObject::ClearScriptReplacements() {
    m_replacements.clear();
    return S_OK;
}

TextStatus CRegObject::Replacement(std::string_view name, std::string& text) const {
    for (const ReplacementPair& pair : m_replacements) {
        if (registry_script::EqualsIgnoringCase(pair.name, name)) {
            return WideToAnsi(pair.text.c_str(), text) ? TextStatus::Ok : TextStatus::OutOfMemory;
        }
    }
    return TextStatus::SyntaxError;
}

const char* CRegObject::NextAnsiChar(const char* position) { return CharNextA(position); }

HRESULT CRegObject::ExpandReplacements(const char* text, std::string& expanded) {
    if (!text) return E_POINTER;
    return FromTextStatus(registry_script::ExpandReplacements(text, *this, &NextAnsiChar, expanded));
}

HRESULT CRegObject::RunScriptResource(LPCOLESTR moduleFileName, UINT resourceId,
                                      LPCOLESTR resourceType, BOOL registerMode) {
    if (!moduleFileName || !resourceType) return E_INVALIDARG;
    return CatchOutOfMemory([&] {
        std::string fileName;
        std::string type;
        if (!WideToAnsi(moduleFileName, fileName) || !WideToAnsi(resourceType, type))
            return E_OUTOFMEMORY;

        // Loaded as a data file: its resources are read, none of its code runs.
        ModuleHandle module(LoadLibraryExA(fileName.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (!module) return LastErrorResult();
        HRSRC resource = FindResourceA(module.Get(), MAKEINTRESOURCEA(resourceId), type.c_str());
        if (!resource) return LastErrorResult();
        HGLOBAL loaded = LoadResource(module.Get(), resource);
        if (!loaded) return LastErrorResult();
        const DWORD size = SizeofResource(module.Get(), resource);
        const void* bytes = LockResource(loaded);
        if (!bytes && size != 0) return LastErrorResult();

        // The copy ends with a NUL, so the text ends at the resource's end
        // or at its first NUL byte.
        const std::string text(static_cast<const char*>(bytes), size);
        return RunScript(text.c_str(), registerMode != FALSE);
    });
}

HRESULT CRegObject::RunScriptText(const char* text, BOOL registerMode) {
    if (!text) return E_POINTER;
    return CatchOutOfMemory([&] { return RunScript(text, registerMode != FALSE); });
}

HRESULT CRegObject::RunScript(const char* text, bool registerMode) {
    std::string expanded;
    RETURN_IF_FAILED(ExpandReplacements(text, expanded));
    Reader reader(expanded.c_str(), &NextAnsiChar);
    return RunRootBlocks(reader, registerMode);
}

HRESULT CRegObject::RunRootBlocks(Reader& reader, bool registerMode) {
    std::string token;
    while (!reader.AtEnd()) {
        RETURN_IF_FAILED(ReadToken(reader, token));
        HKEY root = nullptr;
        if (!FindRootKey(token, root)) return DISP_E_EXCEPTION;
        RETURN_IF_FAILED(ReadToken(reader, token));
        if (!StartsWith(token, '{')) return DISP_E_EXCEPTION;
        RETURN_IF_FAILED(FromTextStatus(registry_script::CheckBlockStructure(reader)));

        if (registerMode) {
            const char* blockStart = reader.Position();
            const HRESULT hr = RegisterBlock(reader, root, 1);
            if (FAILED(hr)) {
                // Undo: remove what the block describes. The caller learns
                // why registering failed; how far the undo got is not part
                // of that answer.
                reader.Seek(blockStart);
                const HRESULT undone = UnregisterBlock(reader, root, false, 1);
                static_cast<void>(undone);
                return hr;
            }
        } else {
            RETURN_IF_FAILED(UnregisterBlock(reader, root, false, 1));
        }
        reader.SkipSpace();
    }
    return S_OK;
}

HRESULT CRegObject::ReadToken(Reader& reader, std::string& token) {
    return FromTextStatus(reader.Read(token));
}

// After "Val": the value's name, then the "=" that must follow it (left in
// `token`).
HRESULT CRegObject::ReadValueEntry(Reader& reader, std::string& valueName, std::string& token) {
    RETURN_IF_FAILED(ReadToken(reader, valueName));
    RETURN_IF_FAILED(ReadToken(reader, token));
    return StartsWith(token, '=') ? S_OK : DISP_E_EXCEPTION;
}

HRESULT CRegObject::RegisterBlock(Reader& reader, HKEY parent, std::size_t depth) {
    std::string token;
    RETURN_IF_FAILED(ReadToken(reader, token));
    while (!StartsWith(token, '}')) {
        RegistryKey key;  // the key this entry opens; Val and Delete open none
        RETURN_IF_FAILED(RegisterEntry(reader, parent, token, key));
        if (token == "{") {
            // CheckBlockStructure has ruled both out already.
            if (!key || depth >= registry_script::kMaxBlockDepth) return DISP_E_EXCEPTION;
            RETURN_IF_FAILED(RegisterBlock(reader, key.Get(), depth + 1));
            RETURN_IF_FAILED(ReadToken(reader, token));
        }
    }
    return S_OK;
}

// The keywords of an entry are taken one after another on the current token:
// "ForceRemove" or "Delete" deletes the key named by the next token (a
// protected name never), then "NoRemove" passes over the token it stands on,
// then "Val" makes the entry a value of the parent. So "ForceRemove Val v"
// deletes a key named "Val" and writes the value v, and "NoRemove Val v"
// writes the value v. Leaves the entry's key, if it opens one, in `key`.
HRESULT CRegObject::RegisterEntry(Reader& reader, HKEY parent, std::string& token, RegistryKey& key) {
    Keyword keyword = KeywordOf(token);
    if (keyword == Keyword::ForceRemove || keyword == Keyword::Delete) {
        RETURN_IF_FAILED(ReadToken(reader, token));
        if (registry_script::ContainsBackslash(token, &NextAnsiChar)) return DISP_E_EXCEPTION;
        // Whether there was anything to delete does not matter.
        if (!registry_script::IsProtectedKeyName(token)) static_cast<void>(DeleteKeyTree(parent, token.c_str()));
        if (keyword == Keyword::Delete) {
            RETURN_IF_FAILED(ReadToken(reader, token));
            return SkipValueAssignment(reader, token);
        }
        keyword = KeywordOf(token);
    }
    if (keyword == Keyword::NoRemove) {
        RETURN_IF_FAILED(ReadToken(reader, token));
        keyword = KeywordOf(token);
    }
    if (keyword != Keyword::Val) return RegisterKey(reader, parent, token, key);
    std::string valueName;
    RETURN_IF_FAILED(ReadValueEntry(reader, valueName, token));
    return WriteScriptValue(reader, parent, valueName.c_str(), token);
}

// The key named by `token`, opened or created, and its default value when
// an assignment follows.
HRESULT CRegObject::RegisterKey(Reader& reader, HKEY parent, std::string& token, RegistryKey& key) {
    if (registry_script::ContainsBackslash(token, &NextAnsiChar)) return DISP_E_EXCEPTION;
    LONG error = OpenKey(parent, token.c_str(), KEY_READ | KEY_WRITE, key);
    if (error != ERROR_SUCCESS) error = OpenKey(parent, token.c_str(), KEY_READ, key);
    if (error != ERROR_SUCCESS) error = CreateKey(parent, token.c_str(), key);
    if (error != ERROR_SUCCESS) return FromRegistryError(error);
    RETURN_IF_FAILED(ReadToken(reader, token));
    return StartsWith(token, '=') ? WriteScriptValue(reader, key.Get(), nullptr, token) : S_OK;
}

HRESULT CRegObject::WriteScriptValue(Reader& reader, HKEY key, const char* valueName, std::string& token) {
    std::string text;
    RETURN_IF_FAILED(ReadToken(reader, text));
    registry_script::ValueType type;
    if (!registry_script::FindValueType(text, type)) return DISP_E_EXCEPTION;
    reader.SkipSpace();
    RETURN_IF_FAILED(ReadToken(reader, text));

    LONG error = ERROR_SUCCESS;
    switch (type) {
    case registry_script::ValueType::String:
        error = SetValue(key, valueName, REG_SZ, text.c_str(), text.size() + 1);
        break;
    case registry_script::ValueType::MultiString: {
        std::string data;
        if (registry_script::MultiStringData(text, &NextAnsiChar, data) != TextStatus::Ok)
            error = ERROR_OUTOFMEMORY;
        else
            error = SetValue(key, valueName, REG_MULTI_SZ, data.data(), data.size());
        break;
    }
    case registry_script::ValueType::Dword: {
        const BStr wide = AnsiToBstr(text.c_str(), static_cast<int>(text.size()));
        if (!wide.Get()) return E_OUTOFMEMORY;
        ULONG number = 0;
        // A text that is no number, or too large for 32 bits, is a syntax
        // error: nothing is written in its place.
        if (FAILED(VarUI4FromStr(wide.Get(), 0, 0, &number))) return DISP_E_EXCEPTION;
        const DWORD data = number;
        error = SetValue(key, valueName, REG_DWORD, &data, sizeof data);
        break;
    }
    case registry_script::ValueType::Binary: {
        std::vector<unsigned char> data;
        RETURN_IF_FAILED(FromTextStatus(registry_script::BinaryData(text, data)));
        error = SetValue(key, valueName, REG_BINARY, data.empty() ? nullptr : data.data(), data.size());
        break;
    }
    }
    if (error != ERROR_SUCCESS) return FromRegistryError(error);
    return ReadToken(reader, token);
}

HRESULT CRegObject::SkipValueAssignment(Reader& reader, std::string& token) {
    if (!StartsWith(token, '=')) return S_OK;
    std::string skipped;
    RETURN_IF_FAILED(ReadToken(reader, skipped));  // the type, not checked
    reader.SkipSpace();
    RETURN_IF_FAILED(ReadToken(reader, skipped));  // the value text
    return ReadToken(reader, token);
}

HRESULT CRegObject::UnregisterBlock(Reader& reader, HKEY parent, bool recovery, std::size_t depth) {
    std::string token;
    RETURN_IF_FAILED(ReadToken(reader, token));
    while (!StartsWith(token, '}')) {
        // "ForceRemove" and "Delete" make the next token the entry's key
        // name, whatever it is; "NoRemove" keeps the entry, which may then be
        // a value ("NoRemove Val v" leaves the value v in place).
        const Keyword keyword = KeywordOf(token);
        const bool removable = keyword != Keyword::NoRemove;
        bool valueEntry = keyword == Keyword::Val;
        if (keyword != Keyword::None && !valueEntry) {
            RETURN_IF_FAILED(ReadToken(reader, token));
            valueEntry = !removable && KeywordOf(token) == Keyword::Val;
        }
        if (valueEntry) {
            std::string valueName;
            RETURN_IF_FAILED(ReadValueEntry(reader, valueName, token));
            if (!recovery && removable) {
                RegistryKey writable;
                LONG error = OpenKey(parent, nullptr, KEY_WRITE, writable);
                if (error != ERROR_SUCCESS) return FromRegistryError(error);
                error = RegDeleteValueA(writable.Get(), valueName.c_str());
                if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND) return FromRegistryError(error);
            }
            RETURN_IF_FAILED(SkipValueAssignment(reader, token));
            // CheckBlockStructure has ruled this out already.
            if (token == "{") return DISP_E_EXCEPTION;
            continue;
        }

        if (registry_script::ContainsBackslash(token, &NextAnsiChar)) return DISP_E_EXCEPTION;

        // In recovery the key counts as absent and nothing is opened.
        RegistryKey key;
        const LONG openError = recovery ? ERROR_FILE_NOT_FOUND : OpenKey(parent, token.c_str(), KEY_READ, key);
        char name[kMaxRememberedKeyNameBytes + 1];
        name[token.copy(name, kMaxRememberedKeyNameBytes)] = '\0';

        RETURN_IF_FAILED(ReadToken(reader, token));
        RETURN_IF_FAILED(SkipValueAssignment(reader, token));
        if (token == "{") {
            // CheckBlockStructure has ruled both out already.
            if (keyword == Keyword::Delete || depth >= registry_script::kMaxBlockDepth) return DISP_E_EXCEPTION;
            // The block of a key that did not open is read through without
            // touching anything. Its syntax errors still end the walk: the
            // tokens after them would not be read the way they were meant.
            RETURN_IF_FAILED(UnregisterBlock(reader, key.Get(), recovery || openError != ERROR_SUCCESS, depth + 1));
            RETURN_IF_FAILED(ReadToken(reader, token));
        }

        if (openError == ERROR_FILE_NOT_FOUND) continue;
        if (openError != ERROR_SUCCESS) return FromRegistryError(openError);

        DWORD subkeys = 0;
        const bool hasSubkeys = RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr,
                                                 nullptr, nullptr, nullptr, nullptr, nullptr,
                                                 nullptr) == ERROR_SUCCESS &&
                                subkeys > 0;
        key.Reset();
        if (removable && !hasSubkeys) {
            const LONG error = RegDeleteKeyA(parent, name);
            if (error != ERROR_SUCCESS) return FromRegistryError(error);
        }
    }
    return S_OK;
}

// Depth first, and from the top each time: a round walks down from `name`
// along first subkeys to a key that has none, closes it and deletes it,
// until `name` itself goes. Only the key in hand and its parent are open at
// a time and nothing is allocated, so a deep foreign tree exhausts neither
// the stack nor the memory.
LONG CRegObject::DeleteKeyTree(HKEY parent, const char* name) {
    for (;;) {
        RegistryKey above;  // the parent of `key`, once below `parent`
        RegistryKey key;
        LONG error = OpenKey(parent, name, KEY_READ | KEY_WRITE, key);
        if (error != ERROR_SUCCESS) return error;
        char keyName[kSubkeyNameBufferBytes];
        bool top = true;
        for (;;) {
            char subkey[kSubkeyNameBufferBytes];
            DWORD length = kSubkeyNameBufferBytes;
            if (RegEnumKeyExA(key.Get(), 0, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            RegistryKey below;
            error = OpenKey(key.Get(), subkey, KEY_READ | KEY_WRITE, below);
            if (error != ERROR_SUCCESS) return error;
            above = std::move(key);
            key = std::move(below);
            std::memcpy(keyName, subkey, length + 1);
            top = false;
        }
        // No more subkeys (or none readable): close this key, then delete it.
        key.Reset();
        error = top ? RegDeleteKeyA(parent, name) : RegDeleteKeyA(above.Get(), keyName);
        if (error != ERROR_SUCCESS || top) return error;
    }
}
