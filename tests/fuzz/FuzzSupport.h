// Helpers shared by the fuzz harnesses: silencing the reader's diagnostics
// and stopping on a broken invariant in a way libFuzzer reports as a crash.
#pragma once

#include "Platform.h"

#include <cstdio>
#include <cstdlib>

// Sends the diagnostic texts nowhere, for the whole fuzzing run: they are
// expected for bad input and would only flood the output.
inline void SilenceDiagnostics() {
    static const bool silenced = [] {
        platform::SetDebugSink([](const char*) {});
        return true;
    }();
    (void)silenced;
}

// A broken invariant: report it and abort, which libFuzzer records as a
// crash with the input that caused it.
#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                            \
        }                                                                            \
    } while (0)
