// CComTypeInfoHolder: the type information of one of the module's dual
// interfaces, loaded on first use from the registered type library and kept
// until the module terminates, with a cache of member names for fast
// GetIDsOfNames.
//
// Loading runs under the module-wide lock and checks again inside it; once
// both the type information and the name cache exist they are read without
// the lock. Threads of any apartment may make their first call at the same
// time, so what is loaded is published through two atomics, set after the
// things they stand for are complete. A failed load leaves the holder empty,
// so the next call retries.
#pragma once

#include "ResourceHolders.h"

#include <atomic>
#include <memory>

class CComTypeInfoHolder {
public:
    CComTypeInfoHolder(const GUID* iid, const GUID* libid, WORD major, WORD minor);

    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out);
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
    HRESULT Invoke(IDispatch* object, DISPID id, LCID lcid, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                   EXCEPINFO* exception, UINT* argumentError);

    HRESULT LoadTypeInfo(LCID lcid);
    // The clean-up run at module termination: releases what was loaded.
    static void ReleaseTypeInfo(void* holder);

private:
    struct NameEntry {
        BStr name;
        UINT length = 0;
        DISPID id = DISPID_UNKNOWN;
    };

    bool IsLoaded() const { return Published() && m_namesReady.load(std::memory_order_acquire); }
    ITypeInfo* Published() const { return m_typeInfo.Get(); }
    HRESULT LoadFromLibrary(LCID lcid);
    HRESULT BuildNameCache(ITypeInfo* typeInfo);
    const NameEntry* FindCachedName(const wchar_t* name) const;

    const GUID* m_iid;
    const GUID* m_libid;
    WORD m_major;
    WORD m_minor;
    // Read without a lock: the type information, and whether m_names and
    // m_nameCount are complete.
    PublishedComPtr<ITypeInfo> m_typeInfo;
    std::unique_ptr<NameEntry[]> m_names;
    int m_nameCount = 0;
    std::atomic<bool> m_namesReady{false};
};
