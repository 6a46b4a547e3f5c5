// A reference host object whose interface derives from IDispatch but which
// offers neither type information nor late binding: GetTypeInfoCount says
// none, the other IDispatch methods answer E_NOTIMPL. For objects only
// early-bound callers use, such as the lean statement for measuring.
#pragma once

#include "ComObject.h"

namespace reference_host {

template <typename Interface>
class UndispatchedObject : public ComObject<Interface> {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

protected:
    using ComObject<Interface>::ComObject;
};

}  // namespace reference_host
