#include "HostTypeLibrary.h"

#include "MavrinBankReconciliation.h"
#include "Failures.h"
#include "ResourceHolders.h"

namespace reference_host {
namespace {

HRESULT LoadHostLibrary(const std::wstring& libraryPath, ComPtr<ITypeLib>& library) {
    if (SUCCEEDED(LoadRegTypeLib(LIBID_MavrinBankReconciliation, 1, 0, LOCALE_NEUTRAL, library.Put()))) return S_OK;
    return LoadTypeLib(libraryPath.c_str(), library.Put());
}

// The description IDispatch clients see: the dispatch half of the dual interface.
HRESULT DispatchInfo(const std::wstring& libraryPath, REFIID iid, ComPtr<ITypeInfo>& info) {
    ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(LoadHostLibrary(libraryPath, library));
    return library->GetTypeInfoOfGuid(iid, info.Put());
}

// The vtable description, through which ITypeInfo::Invoke can call the object.
HRESULT VtableInfo(const std::wstring& libraryPath, REFIID iid, ComPtr<ITypeInfo>& info) {
    ComPtr<ITypeInfo> dispatch;
    RETURN_IF_FAILED(DispatchInfo(libraryPath, iid, dispatch));
    HREFTYPE vtable = 0;
    RETURN_IF_FAILED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable));
    return dispatch->GetRefTypeInfo(vtable, info.Put());
}

}  // namespace

HRESULT HostTypeInfo(const std::wstring& libraryPath, REFIID iid, UINT index, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ComPtr<ITypeInfo> info;
    const HRESULT hr = DispatchInfo(libraryPath, iid, info);
    if (SUCCEEDED(hr)) *out = info.Detach();
    return hr;
}

HRESULT HostIDsOfNames(const std::wstring& libraryPath, REFIID iid, REFIID namespaceId, LPOLESTR* names,
                       UINT count, DISPID* ids) {
    if (!IsEqualIID(namespaceId, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    RETURN_IF_FAILED(VtableInfo(libraryPath, iid, info));
    return DispGetIDsOfNames(info.Get(), names, count, ids);
}

HRESULT HostInvoke(const std::wstring& libraryPath, REFIID iid, IUnknown* instance, DISPID id, REFIID namespaceId,
                   WORD flags, DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                   UINT* argumentError) {
    if (!IsEqualIID(namespaceId, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    RETURN_IF_FAILED(VtableInfo(libraryPath, iid, info));
    return info->Invoke(instance, id, flags, parameters, result, exception, argumentError);
}

}  // namespace reference_host
