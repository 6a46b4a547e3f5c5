#include "HostStatement.h"

#include "HostStrings.h"

namespace reference_host {

HostStatement::HostStatement(std::shared_ptr<Scenario> scenario) : StatementObject(std::move(scenario)) {}

std::vector<StatementLineValues> HostStatement::Lines() const {
    std::vector<StatementLineValues> lines;
    for (const ComPtr<HostStatementLine>& line : m_lines) lines.push_back(line->Values());
    return lines;
}

STDMETHODIMP HostStatement::get_Count(LONG* count) {
    return Perform("get_Count", NoValues, [&] {
        if (!count) return E_POINTER;
        *count = static_cast<LONG>(m_lines.size());
        return S_OK;
    });
}

STDMETHODIMP HostStatement::Item(LONG index, IHostStatementLine** line) {
    return Perform("Item", [&] { return Passed(NumberText(static_cast<long>(index))); }, [&] {
        if (!line) return E_POINTER;
        if (index < 0 || static_cast<size_t>(index) >= m_lines.size()) return E_INVALIDARG;
        *line = ComPtr<IHostStatementLine>(m_lines[static_cast<size_t>(index)].Get()).Detach();
        return S_OK;
    }, line);
}

STDMETHODIMP HostStatement::AddLine(IHostStatementLine** line) {
    return Perform("AddLine", NoValues, [&] {
        if (!line) return E_POINTER;
        m_lines.push_back(MakeObject<HostStatementLine>(SharedScenario(), static_cast<long>(m_lines.size())));
        *line = ComPtr<IHostStatementLine>(m_lines.back().Get()).Detach();
        return S_OK;
    }, line);
}

STDMETHODIMP HostStatement::Clear() {
    return Perform("Clear", NoValues, [&] {
        m_lines.clear();
        return S_OK;
    });
}

}  // namespace reference_host
