// The method guard: the one place where what the body of an interface
// operation throws becomes the operation's HRESULT and, for thrown codes, a
// COM error object on the calling thread. Bodies throw; only the guard maps.
//
//   HRESULT CBank::get_Kind(long* kind) {
//       return GuardedCall([&] { *RequireOut(kind) = 0; });
//   }
//
// The handlers are tried in this order and the order matters:
//   _com_error (a failed host call) -> DISP_E_EXCEPTION, nothing published;
//       the host's error object it may carry is released with it.
//   long (an HRESULT)                -> ReportHResult.
//   unsigned long (a system error)   -> ReportSystemError.
//   SystemErrorAbout (a system error about something named)
//                                    -> ReportSystemError with its subject.
//   ICreateErrorInfo* (prepared)     -> published as is; the thrown reference
//       is released; the result stays S_OK.
//   anything else                    -> E_UNEXPECTED, nothing published.
// Objects the body made are destroyed while the stack unwinds, before the
// handler runs. How a body raises each kind of failure: base/Failures.h.
#pragma once

#include "ErrorReporting.h"
#include "Failures.h"
#include "ResourceHolders.h"

#include <comdef.h>

#include <type_traits>

// Runs `body`, which returns the operation's HRESULT or nothing (S_OK).
template <typename Body>
HRESULT GuardedCall(Body&& body) noexcept {
    HRESULT result = S_OK;
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Body&>>) {
            body();
        } else {
            result = body();
        }
    } catch (const _com_error&) {
        result = DISP_E_EXCEPTION;
    } catch (long hr) {
        result = ReportHResult(hr);
    } catch (unsigned long code) {
        result = ReportSystemError(code);
    } catch (const SystemErrorAbout& failure) {
        result = ReportSystemError(failure.code, failure.subject.c_str());
    } catch (ICreateErrorInfo* prepared) {
        // The thrower handed its reference over with the pointer.
        const auto held = ComPtr<ICreateErrorInfo>::Adopt(prepared);
        if (held) PublishErrorInfo(held.Get());
    } catch (...) {
        result = E_UNEXPECTED;
    }
    return result;
}

// Checks an out-parameter of a guarded operation. A null one is answered
// with the module's invalid-argument error (0x800AFFFC), not E_POINTER.
template <typename T>
T* RequireOut(T* out) {
    if (!out) ThrowHResult(E_INVALIDARG);
    return out;
}

// Raises a failed HRESULT from inside a guarded body, for the guard to report.
inline void RaiseIfFailed(HRESULT hr) {
    if (FAILED(hr)) ThrowHResult(hr);
}
