#include "TypeInfoHolder.h"

#include "ComModule.h"
#include "Failures.h"

#include <cwchar>
#include <new>
#include <utility>

CComTypeInfoHolder::CComTypeInfoHolder(const GUID* iid, const GUID* libid, WORD major, WORD minor)
    : m_iid(iid), m_libid(libid), m_major(major), m_minor(minor) {}

HRESULT CComTypeInfoHolder::LoadTypeInfo(LCID lcid) {
    if (IsLoaded()) return S_OK;
    CriticalSectionLock lock(Module().Lock());
    HRESULT result = Published() ? S_OK : LoadFromLibrary(lcid);
    if (Published() && !m_names) result = BuildNameCache(Published());
    return result;
}

// Keeps ITypeInfo2 when the platform offers it, plain ITypeInfo otherwise.
HRESULT CComTypeInfoHolder::LoadFromLibrary(LCID lcid) {
    ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(LoadRegTypeLib(*m_libid, m_major, m_minor, lcid, library.Put()));
    ComPtr<ITypeInfo> typeInfo;
    RETURN_IF_FAILED(library->GetTypeInfoOfGuid(*m_iid, typeInfo.Put()));
    ComPtr<ITypeInfo2> typeInfo2;
    ComPtr<ITypeInfo> kept = SUCCEEDED(typeInfo.As(typeInfo2)) ? ComPtr<ITypeInfo>(typeInfo2.Get()) : std::move(typeInfo);
    m_typeInfo.Publish(kept.Detach());
    AddCleanup(&CComTypeInfoHolder::ReleaseTypeInfo, this);
    return S_OK;
}

// A type without functions gets no cache, so lookups keep going to the type
// information; entries whose description cannot be read stay empty.
HRESULT CComTypeInfoHolder::BuildNameCache(ITypeInfo* typeInfo) {
    const TypeAttributes attributes(typeInfo, &ITypeInfo::GetTypeAttr);
    if (!attributes) return S_OK;
    const int count = attributes->cFuncs;
    m_nameCount = count;
    if (count == 0) return S_OK;
    std::unique_ptr<NameEntry[]> names(new (std::nothrow) NameEntry[count]);
    if (!names) return E_OUTOFMEMORY;
    for (int index = 0; index < count; ++index) {
        const FunctionDescription function(typeInfo, &ITypeInfo::GetFuncDesc, static_cast<UINT>(index));
        if (!function) continue;
        NameEntry& entry = names[index];
        if (FAILED(typeInfo->GetDocumentation(function->memid, entry.name.Put(), nullptr, nullptr, nullptr)))
            continue;
        entry.length = entry.name.Length();
        entry.id = function->memid;
    }
    m_names = std::move(names);
    m_namesReady.store(true, std::memory_order_release);
    return S_OK;
}

void CComTypeInfoHolder::ReleaseTypeInfo(void* holder) {
    auto* self = static_cast<CComTypeInfoHolder*>(holder);
    self->m_namesReady.store(false, std::memory_order_release);
    self->m_typeInfo.Reset();
    self->m_names.reset();
    self->m_nameCount = 0;
}

HRESULT CComTypeInfoHolder::GetTypeInfo(UINT, LCID lcid, ITypeInfo** out) {
    if (!out) return E_POINTER;
    const HRESULT result = Published() ? S_OK : LoadTypeInfo(lcid);
    *out = Published();
    if (!*out) return result;
    (*out)->AddRef();
    return S_OK;
}

// Searched from the last entry to the first; names must match exactly.
const CComTypeInfoHolder::NameEntry* CComTypeInfoHolder::FindCachedName(const wchar_t* name) const {
    const UINT length = static_cast<UINT>(lstrlenW(name));
    for (int index = m_nameCount - 1; index >= 0; --index) {
        const NameEntry& entry = m_names[index];
        if (entry.name.Get() && entry.length == length && std::wmemcmp(entry.name.Get(), name, length) == 0)
            return &entry;
    }
    return nullptr;
}

HRESULT CComTypeInfoHolder::GetIDsOfNames(LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
    HRESULT result = IsLoaded() ? S_OK : LoadTypeInfo(lcid);
    ITypeInfo* const typeInfo = Published();
    if (!typeInfo) return result;
    if (m_namesReady.load(std::memory_order_acquire) && count == 1 && names && names[0] && ids) {
        if (const NameEntry* entry = FindCachedName(names[0])) {
            ids[0] = entry->id;
            return S_OK;
        }
    }
    return typeInfo->GetIDsOfNames(names, count, ids);
}

HRESULT CComTypeInfoHolder::Invoke(IDispatch* object, DISPID id, LCID lcid, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    const HRESULT loaded = IsLoaded() ? S_OK : LoadTypeInfo(lcid);
    ITypeInfo* const typeInfo = Published();
    if (!typeInfo) return loaded;
    return typeInfo->Invoke(object, id, flags, parameters, result, exception, argumentError);
}
