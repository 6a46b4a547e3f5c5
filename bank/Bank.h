// CBank: the bank object, through which the host learns which bank format
// the module handles and reaches the bank's services.
#pragma once

#include "BankImpl.h"
#include "BankServices.h"
#include "ObjectRoot.h"

class CBank : public CComObjectRootEx<CComSingleThreadModel>,
              public CComCoClass<CBank, &CLSID_Bank>,
              public ISupportErrorInfo,
              public IBankImpl<CBankServices, IBank, &IID_IBank, &LIBID_MAVRINTORVVANTRY_NEWFORMATLib, 1, 0,
                               CComTypeInfoHolder> {
public:
    static const InterfaceEntry<CBank>* InterfaceTable();

    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID iid) override;
};
