#include "CompactStatement.h"

#include "CompactStatementLine.h"
#include "HostStrings.h"

namespace reference_host {

CompactStatement::CompactStatement(std::shared_ptr<Scenario> scenario)
    : HostObject(std::move(scenario), "Statement"), m_records(std::make_shared<StatementLineRecords>()) {}

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

STDMETHODIMP CompactStatement::get_Name(BSTR* name) {
    return Perform("get_Name", NoValues, [&] {
        return name ? CopyToBstr(std::optional<std::wstring>(L"Reference statement"), name) : E_POINTER;
    }, name);
}

STDMETHODIMP CompactStatement::get_Balance(double* balance) {
    return Perform("get_Balance", NoValues, [&] {
        if (!balance) return E_POINTER;
        *balance = m_balance;
        return S_OK;
    });
}

STDMETHODIMP CompactStatement::put_Balance(double balance) {
    return Perform("put_Balance", [&] { return Passed(PlainValueText(balance)); }, [&] {
        m_balance = balance;
        return S_OK;
    });
}

}  // namespace reference_host
