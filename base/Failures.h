// How code below the method guard reports a failure: it throws exactly one
// of the two types the guard maps, through these helpers, so that no throw
// site picks the mapping by the integer type it happens to write. A `long`
// is an HRESULT (reported with the module's error texts); an `unsigned long`
// is a system error code (reported with the system's text for it).
//
// Code that returns HRESULTs instead of throwing (the COM frame, the
// registrar) passes failures on with RETURN_IF_FAILED.
//
// No platform header is needed, so the statement reading code, which also
// builds natively, uses this too.
#pragma once

[[noreturn]] inline void ThrowHResult(long hr) { throw hr; }

[[noreturn]] inline void ThrowSystemError(unsigned long code) { throw code; }

// Returns the HRESULT of `expression` from the enclosing function when it is
// a failure (negative, as FAILED tests it).
#define RETURN_IF_FAILED(expression)          \
    do {                                      \
        const long hrChecked_ = (expression); \
        if (hrChecked_ < 0) return hrChecked_; \
    } while (0)
