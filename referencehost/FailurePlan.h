// Which calls on the reference host answer with a planned outcome instead of
// doing their work, and which first run a host action (an interjection). A
// planned call is still recorded; it nulls its BSTR and interface
// out-pointers, leaves plain out-values (a status, a count) untouched, sets
// or clears the thread's error object and returns the planned code. A
// planned success code therefore gives "S_OK with a null result" (AddLine
// without a line, get_BankAccount without an account).
//
// Objects and operations are named as in the call log; a name the host does
// not have is refused, so a misspelt plan cannot silently plan nothing.
// "CreateInstance" of BankSetup and FileChooser is the class object's
// creation. Every-call mode covers the host interfaces' operations, not
// creation and not InterfaceSupportsErrorInfo.
//
// An interjection runs once the call is recorded and before its work or
// planned outcome, as a host that pumps messages inside a call may run
// anything then: a call back into the module, for one.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace reference_host {

struct Outcome {
    Outcome(HRESULT planned = E_FAIL, std::wstring text = {}, int only = 0)
        : result(planned), description(std::move(text)), onlyCall(only) {}

    HRESULT result = E_FAIL;
    std::wstring description;  // set as the thread's error object when not empty; a failure without one clears it
    int onlyCall = 0;          // 0: every call of the operation; n: only its n-th call (from 1)
};

class FailurePlan {
public:
    // Throws std::invalid_argument for an object or operation the host does not have.
    void Inject(const std::string& object, const std::string& operation, Outcome outcome);
    // Every operation of every host object fails with `result`; S_OK ends the mode.
    void FailEveryCall(HRESULT result) { m_everyCall = result; }
    // Whether the object's ISupportErrorInfo answers S_OK for its own interface (the default) or S_FALSE.
    void SetErrorSupport(const std::string& object, bool supported);
    // Runs `action` in the `callNumber`-th call (from 1) of an operation. Throws
    // std::invalid_argument as Inject does.
    void Interject(const std::string& object, const std::string& operation, int callNumber,
                   std::function<void()> action);

    // The planned outcome of the `callNumber`-th call (from 1) of an operation, if any.
    std::optional<Outcome> Find(const std::string& object, const std::string& operation, int callNumber) const;
    bool SupportsErrorInfo(const std::string& object) const { return m_withoutErrorSupport.count(object) == 0; }
    // The action interjected in that call, empty if none.
    std::function<void()> Interjection(const std::string& object, const std::string& operation, int callNumber) const;

    static bool IsOperation(const std::string& object, const std::string& operation);

private:
    std::map<std::pair<std::string, std::string>, std::vector<Outcome>> m_outcomes;
    std::set<std::string> m_withoutErrorSupport;
    std::map<std::tuple<std::string, std::string, int>, std::function<void()>> m_interjections;
    HRESULT m_everyCall = S_OK;
};

}  // namespace reference_host
