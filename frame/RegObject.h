// The registrar: runs a registry script in register or unregister mode on
// the registry, through the ANSI registry functions.
//
// A script names root keys, each followed by a block in braces:
//
//     HKCR
//     {
//         NoRemove CLSID
//         {
//             ForceRemove {class id} = s 'Description'
//             {
//                 InprocServer32 = s '%MODULE%'
//                 {
//                     val ThreadingModel = s 'Apartment'
//                 }
//             }
//         }
//     }
//
// Before the script is read, "%name%" is replaced by the text added for name
// with AddScriptReplacement and "%%" by "%". Registering opens or creates
// every key and writes every value named; "ForceRemove" deletes the key's
// old tree first, "Delete" deletes a key and writes nothing. Unregistering
// deletes the values named with "Val" and every key not marked "NoRemove"
// that has no subkeys left once its block is done. When registering fails,
// the failing root block is walked again in unregister mode before the
// failure is returned; root blocks before it stay written.
//
// Results: syntax errors are DISP_E_EXCEPTION, registry errors
// HRESULT_FROM_WIN32 of the error, an over-long replacement name or an odd
// binary value E_FAIL, exhausted memory E_OUTOFMEMORY.
//
// The registrar lives for one script run on one thread and is not reference
// counted: QueryInterface answers E_NOTIMPL, AddRef 1 and Release 0.
#pragma once

#include "RegistryScriptText.h"
#include "ResourceHolders.h"

#include <windows.h>

#include <string>
#include <vector>

// The replacement half of the registrar, in the shape callers see.
struct IRegistrarBase : public IUnknown {
    // Appends the pair (name, replacement); no check for duplicates, the first
    // pair added for a name wins. A null argument gives E_INVALIDARG.
    virtual HRESULT STDMETHODCALLTYPE AddScriptReplacement(LPCOLESTR name, LPCOLESTR replacement) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearScriptReplacements() = 0;
};

class CRegObject : public IRegistrarBase, private registry_script::ReplacementSource {
public:
    CRegObject() = default;
    CRegObject(const CRegObject&) = delete;
    CRegObject& operator=(const CRegObject&) = delete;
    virtual ~CRegObject();

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP AddScriptReplacement(LPCOLESTR name, LPCOLESTR replacement) override;
    STDMETHODIMP ClearScriptReplacements() override;

    // Loads the resource `resourceId` of type `resourceType` from the module
    // file `moduleFileName` (loaded as a data file, never run) and runs it as
    // a script; the text ends at the resource's end or its first NUL byte.
    HRESULT RunScriptResource(LPCOLESTR moduleFileName, UINT resourceId, LPCOLESTR resourceType,
                              BOOL registerMode);
    // Runs a NUL-terminated ANSI script. An empty script succeeds.
    HRESULT RunScriptText(const char* text, BOOL registerMode);
    // The script with its replacements expanded.
    HRESULT ExpandReplacements(const char* text, std::string& expanded);

    // The step over one character of ANSI text used while reading scripts.
    static const char* NextAnsiChar(const char* position);

private:
    struct ReplacementPair {
        std::string name;  // in the ANSI code page
        std::wstring text;
    };

    using Reader = registry_script::TokenReader;

    registry_script::TextStatus Replacement(std::string_view name, std::string& text) const override;

    // The work of RunScriptText, without its check and its catch.
    HRESULT RunScript(const char* text, bool registerMode);
    HRESULT RunRootBlocks(Reader& reader, bool registerMode);
    static HRESULT ReadToken(Reader& reader, std::string& token);
    static HRESULT ReadValueEntry(Reader& reader, std::string& valueName, std::string& token);
    HRESULT RegisterBlock(Reader& reader, HKEY parent, std::size_t depth);
    HRESULT RegisterEntry(Reader& reader, HKEY parent, std::string& token, RegistryKey& key);
    HRESULT RegisterKey(Reader& reader, HKEY parent, std::string& token, RegistryKey& key);
    HRESULT UnregisterBlock(Reader& reader, HKEY parent, bool recovery, std::size_t depth);
    HRESULT WriteScriptValue(Reader& reader, HKEY key, const char* valueName, std::string& token);
    static HRESULT SkipValueAssignment(Reader& reader, std::string& token);
    static LONG DeleteKeyTree(HKEY parent, const char* name);

    std::vector<ReplacementPair> m_replacements;
};
