// Class objects: CComClassFactory creates instances through the class
// table's instance creator; CComObjectCached gives it the counting that keeps
// the class table's cached reference from holding the DLL: the module lock is
// taken when the count rises to 2 and given back when it falls to 1.
#pragma once

#include "ClassEntry.h"
#include "CriticalSection.h"
#include "ObjectRoot.h"

class CComClassFactory : public IClassFactory, public CComObjectRootEx<CComMultiThreadModel> {
public:
    static const InterfaceEntry<CComClassFactory>* InterfaceTable();

    HRESULT Init(InstanceCreator creator);

    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHOD(LockServer)(BOOL lock) override;

private:
    InstanceCreator m_creator = nullptr;
    CriticalSection m_critsec;
};

template <typename Base>
class CComObjectCached : public Base {
public:
    virtual ~CComObjectCached() = default;

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override { return QueryInterfaceFromTable<Base>(this, iid, out); }
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
};

// The class-object creator of every class table entry.
HRESULT CreateClassObject(InstanceCreator creator, REFIID iid, void** out);
