#include "HostCalls.h"

namespace {

// Whether `object` says it reports error information for `iid`.
bool SupportsErrorInfo(IUnknown* object, REFIID iid) {
    ComPtr<ISupportErrorInfo> support;
    if (!object || FAILED(object->QueryInterface(IID_ISupportErrorInfo, support.PutVoid()))) return false;
    return support->InterfaceSupportsErrorInfo(iid) == S_OK;
}

}  // namespace

void RaiseHostCallFailure(HRESULT hr, IUnknown* object, REFIID iid) {
    ComPtr<IErrorInfo> taken;
    // Taking the thread's error object removes it from the thread.
    if (SupportsErrorInfo(object, iid) && GetErrorInfo(0, taken.Put()) != S_OK) taken.Reset();
    // The _com_error adopts the reference taken (its constructor adds none).
    throw _com_error(hr, taken.Detach());
}

void CheckHostCall(HRESULT hr, IUnknown* object, REFIID iid) {
    if (FAILED(hr)) RaiseHostCallFailure(hr, object, iid);
}
