// Calls a function through its address the way a caller that removes its own
// arguments (the plain C convention) does, and measures how many bytes of
// arguments the function removed from the stack before it returned: 4 per
// argument for a function that cleans up after itself (the standard calling
// convention of the exports), 0 for one that leaves it to the caller (the
// plain convention the host's file chooser uses for the recognizer).
//
// Only 32-bit x86 has two conventions; on x64 there is one, and callers skip.
#pragma once

#include <initializer_list>

#if defined(__i386__)
#define PENDREL_HAS_TWO_CALLING_CONVENTIONS 1

struct MeasuredCall {
    long result;               // what the function returned in EAX
    unsigned long calleeBytes;  // bytes of arguments the function removed itself
};

// At most four pointer-sized arguments, given left to right.
MeasuredCall CallMeasuringTheStack(const void* function, std::initializer_list<const void*> arguments);
#endif
