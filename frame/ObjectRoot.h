// The base every COM class of the module derives from: its reference count
// (or, when it lives inside an aggregate, the pointer to the outer object),
// and the lookup of its interface table.
//
// A class does not implement IUnknown itself; one of the wrappers in
// ObjectWrappers.h does. Each class lists its interfaces in a static table,
// in lookup order; IID_IUnknown yields the first entry's pointer.
#pragma once

#include <windows.h>
#include <objbase.h>

// Plain counts, for objects used on one apartment thread.
struct CComSingleThreadModel {
    static LONG Increment(volatile LONG* count) { return ++*count; }
    static LONG Decrement(volatile LONG* count) { return --*count; }
};

// Atomic counts, for objects any thread can reach (class objects).
struct CComMultiThreadModel {
    static LONG Increment(volatile LONG* count) { return InterlockedIncrement(count); }
    static LONG Decrement(volatile LONG* count) { return InterlockedDecrement(count); }
};

// The count an object is given while it is being destroyed, so that AddRef
// and Release pairs made by its destructor never bring it to 0 again.
constexpr LONG kDestroyingCount = -(LONG_MAX / 2);

// AddRef and Release of an object that keeps its own plain count and
// deletes itself when the count reaches 0 (aggregates, enumerators).
class PlainSelfCount {
public:
    ULONG AddReference() { return static_cast<ULONG>(++m_count); }
    template <typename Self>
    ULONG ReleaseReference(Self* self) {
        const LONG count = --m_count;
        if (count == 0) delete self;
        return static_cast<ULONG>(count);
    }
    void MarkDestroying() { m_count = kDestroyingCount; }

private:
    LONG m_count = 0;
};

template <typename Object>
struct InterfaceEntry {
    const IID* iid;  // null ends the table
    IUnknown* (*cast)(Object* object);
};

template <typename Object, typename Interface>
IUnknown* CastTo(Object* object) {
    return static_cast<Interface*>(object);
}

// Looks `iid` up in Object's table; the interface found is AddRef'ed through
// itself, so the wrapper's (or the outer object's) count is the one raised.
template <typename Object>
HRESULT QueryInterfaceFromTable(Object* object, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const InterfaceEntry<Object>* table = Object::InterfaceTable();
    for (const InterfaceEntry<Object>* entry = table; entry->iid; ++entry) {
        if (IsEqualIID(iid, *entry->iid) || (entry == table && IsEqualIID(iid, IID_IUnknown))) {
            IUnknown* found = entry->cast(object);
            found->AddRef();
            *out = found;
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

template <typename ThreadModel>
class CComObjectRootEx {
public:
    CComObjectRootEx() : m_dwRef(0) {}

    LONG InternalAddRef() { return ThreadModel::Increment(&m_dwRef); }
    LONG InternalRelease() { return ThreadModel::Decrement(&m_dwRef); }
    void MarkDestroying() { m_dwRef = kDestroyingCount; }

    // The last step of construction; classes that need one hide this.
    HRESULT CompleteConstruction() { return S_OK; }

    void SetOuter(IUnknown* outer) { m_pOuterUnknown = outer; }
    IUnknown* Outer() const { return m_pOuterUnknown; }

protected:
    union {
        volatile LONG m_dwRef;       // the count, when the object stands alone
        IUnknown* m_pOuterUnknown;   // the outer object, inside an aggregate
    };
};

// Gives a class its class identifier; every such class can be aggregated.
template <typename T, const CLSID* Clsid>
class CComCoClass {
public:
    static const CLSID& GetObjectCLSID() { return *Clsid; }
};
