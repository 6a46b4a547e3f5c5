#include "StatementObject.h"

#include "HostStrings.h"

namespace reference_host {

StatementObject::StatementObject(std::shared_ptr<Scenario> scenario) : HostObject(std::move(scenario), "Statement") {}

STDMETHODIMP StatementObject::get_Name(BSTR* name) {
    return Perform("get_Name", NoValues, [&] {
        return name ? CopyToBstr(std::optional<std::wstring>(L"Reference statement"), name) : E_POINTER;
    }, name);
}

STDMETHODIMP StatementObject::get_Balance(double* balance) {
    return Perform("get_Balance", NoValues, [&] {
        if (!balance) return E_POINTER;
        *balance = m_balance;
        return S_OK;
    });
}

STDMETHODIMP StatementObject::put_Balance(double balance) {
    return Perform("put_Balance", [&] { return Passed(NumberText(balance)); }, [&] {
        m_balance = balance;
        return S_OK;
    });
}

}  // namespace reference_host
