#include "ClassFactory.h"

#include "ComModule.h"

#include <new>

const InterfaceEntry<CComClassFactory>* CComClassFactory::InterfaceTable() {
    static const InterfaceEntry<CComClassFactory> table[] = {
        {&IID_IClassFactory, &CastTo<CComClassFactory, IClassFactory>},
        {nullptr, nullptr},
    };
    return table;
}

HRESULT CComClassFactory::Init(InstanceCreator creator) {
    m_creator = creator;
    return m_critsec.Init();
}

STDMETHODIMP CComClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    return m_creator(outer, iid, out);
}

STDMETHODIMP CComClassFactory::LockServer(BOOL lock) {
    if (lock)
        AddModuleLock();
    else
        ReleaseModuleLock();
    return S_OK;
}

template <typename Base>
STDMETHODIMP_(ULONG) CComObjectCached<Base>::AddRef() {
    const LONG count = this->InternalAddRef();
    if (count == 2) AddModuleLock();
    return static_cast<ULONG>(count);
}

template <typename Base>
STDMETHODIMP_(ULONG) CComObjectCached<Base>::Release() {
    const LONG count = this->InternalRelease();
    if (count == 0) {
        this->MarkDestroying();
        delete this;
    } else if (count == 1) {
        ReleaseModuleLock();
    }
    return static_cast<ULONG>(count);
}

template class CComObjectCached<CComClassFactory>;

HRESULT CreateClassObject(InstanceCreator creator, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* factory = new (std::nothrow) CComObjectCached<CComClassFactory>();
    if (!factory) return E_OUTOFMEMORY;
    HRESULT result = factory->Init(creator);
    if (SUCCEEDED(result)) result = factory->QueryInterface(iid, out);
    if (FAILED(result)) delete factory;
    return result;
}
