// The one record of every call made on the reference host's objects, in the
// order the calls were made. An entry is appended when a call starts, so
// anything that happens inside a call (the recognizer that Show runs) comes
// after it; the call's result is filled in when it returns.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
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
    // Appends an entry and returns its position.
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
    std::map<std::pair<std::string, std::string>, int> m_counts;
};

}  // namespace reference_host
