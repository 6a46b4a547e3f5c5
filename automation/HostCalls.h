// Calls into the host's objects, and their creation.
//
// A host object the module creates may be missing: a failed creation leaves
// an empty ComPtr, and the failure shows at the object's first use, which
// raises _com_error(E_POINTER) with no error object, for checked and
// unchecked calls alike. A checked call raises its failure code as a
// _com_error, which the method guard turns into DISP_E_EXCEPTION.
//
// Trap: when the host object says it supports error information for the
// interface called, raising takes the host's error object off the thread into
// the _com_error, and the guard drops it, so the caller sees DISP_E_EXCEPTION
// with no description. Otherwise whatever the host left on the thread stays.
#pragma once

#include "ResourceHolders.h"

#include <comdef.h>

#include <type_traits>
#include <utility>

// Raises a failed `hr` of a call made through `iid` on `object` (which may be
// null) as a _com_error carrying the host's error object when the host says
// it supports error information for `iid`. Does nothing for a success code.
void CheckHostCall(HRESULT hr, IUnknown* object, REFIID iid);
[[noreturn]] void RaiseHostCallFailure(HRESULT hr, IUnknown* object, REFIID iid);

// The object to call, or _com_error(E_POINTER) when it is missing.
template <typename I>
I* RequireHostObject(I* object) {
    if (!object) throw _com_error(E_POINTER);
    return object;
}
template <typename I>
I* RequireHostObject(const ComPtr<I>& object) {
    return RequireHostObject(object.Get());
}

// An unchecked call: `call(I*)` runs on the object and its result is handed
// back for the caller to ignore or examine.
//   HostCall(chooser, [&](IHostFileChooser* c) { return c->Show(&status); });
template <typename Object, typename Call>
HRESULT HostCall(const Object& object, Call&& call) {
    return std::forward<Call>(call)(RequireHostObject(object));
}

// A checked call: a failure of `call(I*)` is raised (see CheckHostCall), with
// the identifier of the interface the call was made through.
template <typename Object, typename Call>
void CheckedHostCall(const Object& object, Call&& call) {
    auto* target = RequireHostObject(object);
    CheckHostCall(std::forward<Call>(call)(target), target, __uuidof(std::remove_pointer_t<decltype(target)>));
}

// Creates a host component by its class identifier, from any kind of server
// and without an outer object: IUnknown first, then OleRun, then interface I.
// Any failure gives an empty ComPtr (the object is missing), and so does a
// class object or QueryInterface that reports success without an object.
template <typename I>
ComPtr<I> CreateHostObject(REFCLSID clsid) noexcept {
    ComPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.PutVoid())) || !unknown) return {};
    if (FAILED(OleRun(unknown.Get()))) return {};
    ComPtr<I> object;
    if (FAILED(unknown.As(object)) || !object) return {};
    return object;
}
