// The host's reconciliation: it hands out the bank account the statement is
// reconciled against. get_BankAccount fails with E_FAIL while the settings
// say there is no account; otherwise it gives the account assigned through
// putref_BankAccount or, failing that, the host's own account, made on first
// use and kept (and so kept alive) until the reconciliation is released.
#pragma once

#include "HostObject.h"
#include "MavrinBankReconciliation.h"

namespace reference_host {

class HostReconciliation : public HostObject<IHostReconciliation> {
public:
    explicit HostReconciliation(std::shared_ptr<Scenario> scenario);

    STDMETHODIMP get_BankAccount(IHostBankAccount** account) override;
    STDMETHODIMP putref_BankAccount(IHostBankAccount* account) override;

private:
    ComPtr<IHostBankAccount> m_account;
};

}  // namespace reference_host
