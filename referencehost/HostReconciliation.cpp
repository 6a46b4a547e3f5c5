#include "HostReconciliation.h"

#include "HostBankAccount.h"

namespace reference_host {

HostReconciliation::HostReconciliation(std::shared_ptr<Scenario> scenario)
    : HostObject(std::move(scenario), "Reconciliation") {}

STDMETHODIMP HostReconciliation::get_BankAccount(IHostBankAccount** account) {
    return Perform("get_BankAccount", NoValues, [&] {
        if (!account) return E_POINTER;
        if (!Settings().hasBankAccount) return E_FAIL;
        if (!m_account) m_account = ComPtr<IHostBankAccount>(MakeObject<HostBankAccount>(SharedScenario()).Get());
        *account = ComPtr<IHostBankAccount>(m_account).Detach();
        return S_OK;
    }, account);
}

STDMETHODIMP HostReconciliation::putref_BankAccount(IHostBankAccount* account) {
    return Perform("putref_BankAccount", [&] { return Passed(account ? "account" : kNullText); }, [&] {
        m_account = ComPtr<IHostBankAccount>(account);
        return S_OK;
    });
}

}  // namespace reference_host
