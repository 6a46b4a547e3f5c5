// CBankServices: the collection of the services the bank offers. A new
// collection holds exactly one element, a new statement service, which it
// owns; the host can read the collection but not change it.
//
// The host's IMavrinBankServices is deliberately absent from the interface
// table: the host receives the collection from the bank object already as
// that interface.
#pragma once

#include "ListImpl.h"
#include "ObjectRoot.h"

#include <MavrinTorvVantryNewFormat.h>

// The services collection's dual interface: a list of the host's bank
// services.
template <typename Interface, const IID* Iid, const GUID* Libid, WORD Major, WORD Minor,
          typename Holder = CComTypeInfoHolder>
class IBankServicesImpl : public CListImpl<IMavrinBankService, Interface, Iid, Libid, Major, Minor, Holder> {};

class CBankServices
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CBankServices, &CLSID_BankServices>,
      public ISupportErrorInfo,
      public IBankServicesImpl<IBankServices, &IID_IBankServices, &LIBID_MAVRINTORVVANTRY_NEWFORMATLib, 1, 0,
                               CComTypeInfoHolder> {
public:
    static const InterfaceEntry<CBankServices>* InterfaceTable();

    // Fills the new collection with its statement service; a failure makes
    // the creation of the collection fail.
    HRESULT CompleteConstruction();

    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID iid) override;
};
