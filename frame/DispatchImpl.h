// IDispatchImpl: the IDispatch half of one of the module's dual interfaces,
// served from the module's type library through one static holder per
// interface.
#pragma once

#include "TypeInfoHolder.h"

template <typename Interface, const IID* Iid, const GUID* Libid, WORD Major, WORD Minor,
          typename Holder = CComTypeInfoHolder>
class IDispatchImpl : public Interface {
public:
    STDMETHOD(GetTypeInfoCount)(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** out) override {
        return s_typeInfo.GetTypeInfo(index, lcid, out);
    }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        return s_typeInfo.GetIDsOfNames(names, count, lcid, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override {
        return s_typeInfo.Invoke(static_cast<Interface*>(this), id, lcid, flags, parameters, result, exception,
                                 argumentError);
    }

    static Holder s_typeInfo;
};

template <typename Interface, const IID* Iid, const GUID* Libid, WORD Major, WORD Minor, typename Holder>
Holder IDispatchImpl<Interface, Iid, Libid, Major, Minor, Holder>::s_typeInfo(Iid, Libid, Major, Minor);
