// The wrappers that give a class its IUnknown, and the functions that create
// wrapped objects.
//
// CComObject<T>: T alone; T's count word holds the count.
// CComAggObject<T>: T inside an aggregate; the aggregate has its own count
//   and is the outer object's non-delegating unknown; it holds a
//   CComContainedObject<T>, whose IUnknown forwards to the outer object (T's
//   count word then holds the outer pointer).
// Every live wrapper holds one module lock. While a wrapper is destroyed its
// count is set to kDestroyingCount first.
#pragma once

#include "ComModule.h"
#include "Failures.h"
#include "ObjectRoot.h"

#include <new>

namespace object_wrappers {

// Constructs a wrapper; an exception from the class's constructor counts as
// a failed allocation, as does running out of memory.
template <typename Wrapper, typename... Arguments>
Wrapper* Construct(Arguments... arguments) {
    try {
        return new (std::nothrow) Wrapper(arguments...);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace object_wrappers

template <typename T>
class CComObject : public T {
public:
    CComObject() { AddModuleLock(); }
    virtual ~CComObject() {
        this->MarkDestroying();
        ReleaseModuleLock();
    }

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override { return QueryInterfaceFromTable<T>(this, iid, out); }
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(this->InternalAddRef()); }
    STDMETHOD_(ULONG, Release)() override {
        const LONG count = this->InternalRelease();
        if (count == 0) delete this;
        return static_cast<ULONG>(count);
    }
};

template <typename T>
class CComContainedObject : public T {
public:
    explicit CComContainedObject(IUnknown* outer) { this->SetOuter(outer); }

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override { return this->Outer()->QueryInterface(iid, out); }
    STDMETHOD_(ULONG, AddRef)() override { return this->Outer()->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return this->Outer()->Release(); }
};

template <typename T>
class CComAggObject : public IUnknown {
public:
    explicit CComAggObject(IUnknown* outer) : m_contained(outer) { AddModuleLock(); }
    virtual ~CComAggObject() {
        m_count.MarkDestroying();
        ReleaseModuleLock();
    }

    HRESULT CompleteConstruction() { return m_contained.CompleteConstruction(); }

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown)) return QueryInterfaceFromTable<T>(&m_contained, iid, out);
        AddRef();
        *out = static_cast<IUnknown*>(this);
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return m_count.AddReference(); }
    STDMETHOD_(ULONG, Release)() override { return m_count.ReleaseReference(this); }

private:
    PlainSelfCount m_count;
    CComContainedObject<T> m_contained;
};

// Builds CComObject<T> with a count of 0 and runs its final construction
// (with the count held one higher meanwhile). On success the caller takes the
// first reference; on failure the object is destroyed and *out is null.
template <typename T>
HRESULT CreateInstanceDirect(CComObject<T>** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    CComObject<T>* object = object_wrappers::Construct<CComObject<T>>();
    if (!object) return E_OUTOFMEMORY;
    object->InternalAddRef();
    const HRESULT result = object->CompleteConstruction();
    object->InternalRelease();
    if (FAILED(result)) {
        delete object;
        return result;
    }
    *out = object;
    return S_OK;
}

namespace object_wrappers {

template <typename T>
HRESULT CreateAggregated(IUnknown* outer, REFIID iid, void** out) {
    CComAggObject<T>* object = Construct<CComAggObject<T>>(outer);
    if (!object) return E_OUTOFMEMORY;
    HRESULT result = object->CompleteConstruction();
    if (SUCCEEDED(result)) result = object->QueryInterface(iid, out);
    if (FAILED(result)) delete object;
    return result;
}

template <typename T>
HRESULT CreateAlone(REFIID iid, void** out) {
    CComObject<T>* object = nullptr;
    RETURN_IF_FAILED(CreateInstanceDirect(&object));
    const HRESULT result = object->QueryInterface(iid, out);
    if (FAILED(result)) delete object;
    return result;
}

}  // namespace object_wrappers

// The instance creator of class T in the class table: alone without an
// outer object, aggregated with one.
template <typename T>
HRESULT CreateClassInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return outer ? object_wrappers::CreateAggregated<T>(outer, iid, out) : object_wrappers::CreateAlone<T>(iid, out);
}
