// The one record of every call made on the reference host's objects, in the
// order the calls were made. An entry is appended when a call starts, so
// anything that happens inside a call (the recognizer that Show runs) comes
// after it; the call's result is filled in when it returns.
//
// By default every call is kept. A caller that reads only a few operations
// (the import tool reads the recognizer's answer) can ask for those alone:
// the other calls are then counted, so that the failure plan still finds the
// n-th call of an operation, but not kept, and a long import costs the log
// nothing per line.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace reference_host {

struct CallEntry {
    std::string object;     // "Reconciliation", "BankAccount", "Statement", "StatementLine", "BankSetup", "FileChooser"
    int instance = 0;       // which object of that kind, from 1 in creation order; 0 for class-object calls
    std::string operation;  // "put_Amount", "AddLine", "CreateInstance", "Recognizer", ...
    std::string value;      // the values passed, as text (CallValues.h); several are joined by ", "
    std::vector<unsigned char> bytes;  // a whole byte record passed (bank name, options block)
    HRESULT result = S_OK;  // what the call returned
};

class CallLog {
public:
    using Operation = std::pair<std::string, std::string>;  // "Object", "operation"
    static constexpr std::size_t kNotKept = static_cast<std::size_t>(-1);

    // From now on, keeps only the calls of these operations; none for an
    // empty set. Entries already kept stay.
    void KeepOnly(std::set<Operation> operations) { m_kept = std::move(operations); }

    // Counts the call and, when it is one to keep, appends it and returns
    // its position; kNotKept otherwise.
    std::size_t Append(CallEntry entry);
    void SetResult(std::size_t position, HRESULT result);

    const std::vector<CallEntry>& Entries() const { return m_entries; }
    // "Object.operation" for each entry, in order: compact for order checks.
    std::vector<std::string> Operations() const;
    // The entries of one operation of one kind of object, in order.
    std::vector<CallEntry> Calls(const std::string& object, const std::string& operation) const;
    // How many calls of this operation the log holds (since it was last cleared).
    int CountOf(const std::string& object, const std::string& operation) const;
    void Clear() {
        m_entries.clear();
        m_counts.clear();
    }

private:
    std::vector<CallEntry> m_entries;
    // Calls per "object" and "operation" among m_entries, kept as entries are
    // appended, so that counting does not scan the whole log on every call.
    std::map<Operation, int> m_counts;
    std::optional<std::set<Operation>> m_kept;  // absent: every call is kept
};

}  // namespace reference_host
