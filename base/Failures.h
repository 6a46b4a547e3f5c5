// Every kind of failure that the method guard (automation/MethodGuard.h)
// turns into an operation's result, and the one way each is raised, so that
// code below the guard fails through these names and no throw site picks
// the mapping by the type it happens to write:
//
// - an HRESULT: ThrowHResult (a `long`). The guard reports it with the
//   module's code and text for it (E_INVALIDARG: 0x800AFFFC, "Invalid
//   argument"). The string class reports running out of memory so
//   (E_OUTOFMEMORY).
// - a system error code: ThrowSystemError (an `unsigned long`). The guard
//   reports 0x800AFFFF with the system's text for the code.
// - a system error about something the body names (the chosen file's path
//   and what is wrong with it): ThrowSystemErrorAbout (a SystemErrorAbout).
//   The guard reports 0x800AFFFF with the subject, then the system's text.
// - memory that runs out where no HRESULT is at hand (a BSTR that cannot be
//   made): ThrowOutOfMemory (std::bad_alloc, as the standard library's own
//   allocations throw). The guard answers E_UNEXPECTED and publishes
//   nothing; while an object is constructed it makes the creation fail
//   with E_OUTOFMEMORY instead.
// - a failed call into a host object: a _com_error, raised only by the
//   host-call helpers (automation/HostCalls.h: CheckedHostCall,
//   RequireHostObject). The guard answers DISP_E_EXCEPTION and publishes
//   nothing.
// - an error object the body prepared itself: the body throws its
//   ICreateErrorInfo*, handing its reference over; the guard publishes it
//   and the result stays S_OK. No code of the module prepares one.
//
// Anything else thrown becomes E_UNEXPECTED, with nothing published. The
// statement reader's own failures (CTransactionRecord::ReadError) never
// leave the reader.
//
// Code that returns HRESULTs instead of throwing (the COM frame, the
// registrar) passes failures on with RETURN_IF_FAILED.
//
// No platform header is needed, so the statement reading code, which also
// builds natively, uses this too.
#pragma once

#include <new>
#include <string>
#include <utility>

[[noreturn]] inline void ThrowHResult(long hr) { throw hr; }

[[noreturn]] inline void ThrowSystemError(unsigned long code) { throw code; }

struct SystemErrorAbout {
    unsigned long code;
    std::wstring subject;
};
[[noreturn]] inline void ThrowSystemErrorAbout(unsigned long code, std::wstring subject) {
    throw SystemErrorAbout{code, std::move(subject)};
}

[[noreturn]] inline void ThrowOutOfMemory() { throw std::bad_alloc(); }

// Returns the HRESULT of `expression` from the enclosing function when it is
// a failure (negative, as FAILED tests it).
#define RETURN_IF_FAILED(expression)          \
    do {                                      \
        const long hrChecked_ = (expression); \
        if (hrChecked_ < 0) return hrChecked_; \
    } while (0)
