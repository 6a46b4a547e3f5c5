#include "CompactStatement.h"

#include "CompactStatementLine.h"

namespace reference_host {

CompactStatement::CompactStatement(std::shared_ptr<Scenario> scenario)
    : StatementObject(std::move(scenario)), m_records(std::make_shared<StatementLineRecords>()) {}

STDMETHODIMP CompactStatement::get_Count(LONG* count) {
    return Perform("get_Count", NoValues, [&] {
        if (!count) return E_POINTER;
        *count = static_cast<LONG>(m_records->Size());
        return S_OK;
    });
}

STDMETHODIMP CompactStatement::AddLine(IHostStatementLine** line) {
    return Perform("AddLine", NoValues, [&] {
        if (!line) return E_POINTER;
        *line = MakeObject<CompactStatementLine>(SharedScenario(), m_records).Detach();
        return S_OK;
    }, line);
}

STDMETHODIMP CompactStatement::Clear() {
    return Perform("Clear", NoValues, [&] {
        m_records->Clear();
        return S_OK;
    });
}

}  // namespace reference_host
