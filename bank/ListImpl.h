// CListImpl: an automation collection over a CArray of interface pointers:
// Item (by 0-based position or by name), Count and _NewEnum of the
// collection's dual interface, and Add, Remove, RemoveAll and GetAt for the
// module itself.
//
// The collection owns one reference on every element in its array; the
// array counts none. Every operation runs inside the method guard.
//
// Traps:
// - A name (VT_BSTR, or VT_BSTR by reference) is looked up by each element's
//   get_Name, compared case-sensitively; a string of digits is a name, not a
//   position. Anything else is converted to VT_I4 and taken as a position;
//   VT_EMPTY and VT_ERROR (an omitted argument) are no position at all.
// - An enumerator reads this collection's array in place, so it is given the
//   collection's own IUnknown and keeps a reference on it. Inside an
//   aggregate that IUnknown forwards to the outer object, which is what has
//   to stay alive.
#pragma once

#include "DispatchImpl.h"
#include "EnumVariantArray.h"
#include "MethodGuard.h"
#include "PointerArray.h"
#include "ResourceHolders.h"

#include <oleauto.h>

#include <optional>

template <typename Element, typename Interface, const IID* Iid, const GUID* Libid, WORD Major, WORD Minor,
          typename Holder = CComTypeInfoHolder>
class CListImpl : public IDispatchImpl<Interface, Iid, Libid, Major, Minor, Holder> {
public:
    using ElementArray = CArray<Element*, Element*>;
    using Enumerator = CEnumVariantArray<ElementArray>;

    static constexpr int kGrowStep = 8;

    CListImpl() : m_array(kGrowStep) {}

    STDMETHOD(Item)(VARIANT* index, Element** out) override {
        return GuardedCall([&] {
            *RequireOut(out) = nullptr;
            const std::optional<int> position = FindPosition(index);
            if (!position) ThrowHResult(E_INVALIDARG);
            *out = Referenced(m_array.GetAt(*position));
        });
    }

    STDMETHOD(get_Count)(long* count) override {
        return GuardedCall([&] { *RequireOut(count) = m_array.GetCount(); });
    }

    // A failed allocation of the enumerator throws std::bad_alloc, which the
    // guard answers with E_UNEXPECTED.
    STDMETHOD(get__NewEnum)(IUnknown** out) override {
        return GuardedCall([&] {
            *RequireOut(out) = nullptr;
            IUnknown* const self = static_cast<Interface*>(this);
            *out = Referenced(new Enumerator(m_array, self));
        });
    }

    virtual ~CListImpl() { RemoveAll(); }

    // Takes a reference on `element` and appends it; null is refused.
    virtual HRESULT Add(Element* element) {
        return GuardedCall([&] {
            if (!element) ThrowHResult(E_INVALIDARG);
            m_array.Add(element);
            element->AddRef();
        });
    }

    // Takes the element at `index` out of the array and releases it.
    virtual HRESULT Remove(long index) {
        return GuardedCall([&] {
            const auto removed = ComPtr<Element>::Adopt(m_array.GetAt(index));
            m_array.RemoveAt(index);
        });
    }

    // Releases every element, the last first, and frees the storage.
    virtual HRESULT RemoveAll() {
        return GuardedCall([&] {
            while (m_array.GetCount() > 0) {
                const int last = m_array.GetCount() - 1;
                const auto removed = ComPtr<Element>::Adopt(m_array.GetAt(last));
                m_array.RemoveAt(last);
            }
            m_array.RemoveAll();
        });
    }

    virtual HRESULT GetAt(long index, Element** out) {
        return GuardedCall([&] {
            *RequireOut(out) = nullptr;
            *out = Referenced(m_array.GetAt(index));
        });
    }

protected:
    ElementArray m_array;

private:
    template <typename T>
    static T* Referenced(T* object) {
        object->AddRef();
        return object;
    }

    std::optional<int> FindPosition(VARIANT* index) const {
        if (!index || index->vt == VT_EMPTY || index->vt == VT_ERROR) return std::nullopt;
        const int count = m_array.GetCount();
        std::optional<int> position;
        if (index->vt == VT_BSTR) {
            position = FindName(index->bstrVal, count);
        } else if (index->vt == (VT_BSTR | VT_BYREF)) {
            position = FindName(index->pbstrVal ? *index->pbstrVal : nullptr, count);
        } else {
            position = ToNumber(index);
        }
        if (position && (*position < 0 || *position >= count)) return std::nullopt;
        return position;
    }

    // The first of `count` elements whose name equals `name` (a copy up to
    // its first zero character is compared); get_Name's result is not
    // examined.
    std::optional<int> FindName(BSTR name, int count) const {
        const BStr key(name);
        if (name && !key.Get()) ThrowHResult(E_OUTOFMEMORY);
        for (int position = 0; position < count; ++position) {
            BStr elementName;
            m_array.GetAt(position)->get_Name(elementName.Put());
            if (VarBstrCmp(elementName.Get(), key.Get(), LOCALE_USER_DEFAULT, 0) == VARCMP_EQ) return position;
        }
        return std::nullopt;
    }

    // The index converted to a 32-bit number; the caller's VARIANT stays.
    static std::optional<int> ToNumber(VARIANT* index) {
        Variant number;
        if (FAILED(VariantChangeType(number.Get(), index, 0, VT_I4))) return std::nullopt;
        return number->lVal;
    }
};
