// CEnumVariantArray: the IEnumVARIANT enumerator of a collection whose
// elements live in a CArray of interface pointers. It hands each element out
// as a VT_DISPATCH VARIANT.
//
// It reads the collection's array in place at every call, so it holds a
// reference on the collection (its owner) for its whole life: a host that
// releases the collection before the enumerator never reads freed storage,
// and the module stays loaded while the enumerator's code can still be
// called. Clones share the owner and the array but move on their own.
//
// It is not a wrapped class: it has its own plain reference count (one
// apartment thread), starts at 0, and deletes itself when Release reaches 0.
// It answers with plain result codes and throws nothing.
#pragma once

#include "ObjectRoot.h"
#include "ResourceHolders.h"

#include <windows.h>
#include <oleauto.h>

#include <new>

template <typename Array>
class CEnumVariantArray : public IEnumVARIANT {
public:
    CEnumVariantArray(const Array& array, IUnknown* owner, ULONG position = 0)
        : m_owner(owner), m_array(&array), m_position(position) {}
    virtual ~CEnumVariantArray() = default;

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IEnumVARIANT)) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        if (!out) return E_POINTER;
        AddRef();
        *out = static_cast<IEnumVARIANT*>(this);
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return m_count.AddReference(); }
    STDMETHOD_(ULONG, Release)() override { return m_count.ReleaseReference(this); }

    // Fills up to n VARIANTs from the current position. S_OK when all n were
    // filled; S_FALSE when the elements ran out or one refused IDispatch;
    // E_POINTER for n = 0, and for a missing array (nothing written then).
    STDMETHOD(Next)(ULONG n, VARIANT* variants, ULONG* fetched) override {
        if (!variants && n != 0) return E_POINTER;
        HRESULT result = E_POINTER;
        if (fetched) *fetched = 0;
        for (ULONG i = 0; i < n; ++i) VariantInit(&variants[i]);
        const ULONG count = static_cast<ULONG>(m_array->GetCount());
        ULONG wanted = n;
        for (VARIANT* next = variants; wanted > 0 && m_position < count; ++next) {
            next->vt = VT_DISPATCH;
            result = m_array->GetAt(static_cast<int>(m_position))
                         ->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&next->pdispVal));
            if (FAILED(result)) break;
            if (fetched) ++*fetched;
            --wanted;
            ++m_position;
        }
        return wanted > 0 ? S_FALSE : result;
    }

    // Moves on only when at least one element remains after the skip; a skip
    // to exactly past the last element is refused too. The sum is taken in
    // 64 bits so that a huge n cannot wrap round to a valid position.
    STDMETHOD(Skip)(ULONG n) override {
        if (ULONGLONG{m_position} + n >= static_cast<ULONGLONG>(m_array->GetCount())) return S_FALSE;
        m_position += n;
        return S_OK;
    }

    STDMETHOD(Reset)() override {
        m_position = 0;
        return S_OK;
    }

    // A null out pointer is refused before anything is made.
    STDMETHOD(Clone)(IEnumVARIANT** out) override {
        if (!out) return E_POINTER;
        auto* clone = new (std::nothrow) CEnumVariantArray(*m_array, m_owner.Get(), m_position);
        if (!clone) {
            *out = nullptr;
            return E_OUTOFMEMORY;
        }
        return clone->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(out));
    }

private:
    ComPtr<IUnknown> m_owner;  // the collection whose array is read
    const Array* m_array;
    PlainSelfCount m_count;
    ULONG m_position;
};
