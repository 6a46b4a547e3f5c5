// The IDispatch half of every reference-host object, answered from the host
// type library MavrinBankReconciliation. The library is loaded on each use:
// through the registry when it is registered, otherwise from the file the
// scenario names (HostSettings::typeLibraryPath). Nothing is cached, so no
// type information outlives the objects that asked for it.
//
// Invoke calls through the interface's vtable description (the dual
// interface's TKIND_INTERFACE half), so a call through IDispatch reaches the
// same operation, and is recorded the same way, as a direct call.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace reference_host {

HRESULT HostTypeInfo(const std::wstring& libraryPath, REFIID iid, UINT index, ITypeInfo** out);
HRESULT HostIDsOfNames(const std::wstring& libraryPath, REFIID iid, REFIID namespaceId, LPOLESTR* names,
                       UINT count, DISPID* ids);
HRESULT HostInvoke(const std::wstring& libraryPath, REFIID iid, IUnknown* instance, DISPID id, REFIID namespaceId,
                   WORD flags, DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                   UINT* argumentError);

}  // namespace reference_host
