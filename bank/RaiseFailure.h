// Raising a failed HRESULT from inside a guarded body, for the method guard
// to report.
#pragma once

#include <windows.h>

inline void RaiseIfFailed(HRESULT hr) {
    if (FAILED(hr)) throw static_cast<long>(hr);
}
