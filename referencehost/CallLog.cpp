#include "CallLog.h"

#include <algorithm>

namespace reference_host {

std::size_t CallLog::Append(CallEntry entry) {
    Operation operation{entry.object, entry.operation};
    ++m_counts[operation];
    if (m_kept && m_kept->count(operation) == 0) return kNotKept;
    m_entries.push_back(std::move(entry));
    return m_entries.size() - 1;
}

void CallLog::SetResult(std::size_t position, HRESULT result) {
    if (position < m_entries.size()) m_entries[position].result = result;
}

std::vector<std::string> CallLog::Operations() const {
    std::vector<std::string> operations;
    operations.reserve(m_entries.size());
    for (const CallEntry& entry : m_entries) operations.push_back(entry.object + "." + entry.operation);
    return operations;
}

std::vector<CallEntry> CallLog::Calls(const std::string& object, const std::string& operation) const {
    std::vector<CallEntry> calls;
    std::copy_if(m_entries.begin(), m_entries.end(), std::back_inserter(calls), [&](const CallEntry& entry) {
        return entry.object == object && entry.operation == operation;
    });
    return calls;
}

int CallLog::CountOf(const std::string& object, const std::string& operation) const {
    const auto found = m_counts.find({object, operation});
    return found == m_counts.end() ? 0 : found->second;
}

}  // namespace reference_host
