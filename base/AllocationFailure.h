// A test hook that makes allocations fail: a countdown of the allocations the
// string class (CString) and the pointer array (CArray) may still make before
// every further one fails as if the heap were exhausted. Both ask ShouldFail()
// just before they allocate and treat a true answer exactly like a failed
// allocation (E_OUTOFMEMORY), so tests can reach every out-of-memory path.
//
// The countdown is off (negative) unless a test sets it; then ShouldFail() is
// one read and one branch, and it never writes, so the module's threads can
// share it. Only a single-threaded test may set it, with FailAllocationsAfter.
// Each module that compiles this header (the DLL, a test program) has its own
// countdown.
#pragma once

namespace allocation_failure {

// Allocations still allowed to succeed; negative: no limit.
inline int g_allocationsLeft = -1;

// True when the allocation about to be made is to fail.
inline bool ShouldFail() {
    if (g_allocationsLeft < 0) return false;
    if (g_allocationsLeft == 0) return true;
    --g_allocationsLeft;
    return false;
}

// While it lives, the first `allowed` allocations succeed and every later
// one fails; the previous setting comes back when it goes.
class FailAllocationsAfter {
public:
    explicit FailAllocationsAfter(int allowed) : m_previous(g_allocationsLeft) { g_allocationsLeft = allowed; }
    ~FailAllocationsAfter() { g_allocationsLeft = m_previous; }
    FailAllocationsAfter(const FailAllocationsAfter&) = delete;
    FailAllocationsAfter& operator=(const FailAllocationsAfter&) = delete;

    // The allocations that were allowed and not yet made.
    int Unused() const { return g_allocationsLeft; }

private:
    int m_previous;
};

}  // namespace allocation_failure
