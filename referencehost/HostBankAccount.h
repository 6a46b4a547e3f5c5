// One of the host's bank accounts. Its sort code, account number and name
// live in the scenario's settings and are read and written there at call
// time, so a test may change them between imports; an absent sort code or
// account number is given as S_OK with a null BSTR.
#pragma once

#include "HostObject.h"
#include "MavrinBankReconciliation.h"

#include <optional>
#include <string>

namespace reference_host {

class HostBankAccount : public HostObject<IHostBankAccount> {
public:
    explicit HostBankAccount(std::shared_ptr<Scenario> scenario);

    STDMETHODIMP get_SortCode(BSTR* sortCode) override;
    STDMETHODIMP put_SortCode(BSTR sortCode) override;
    STDMETHODIMP get_Name(BSTR* name) override;
    STDMETHODIMP put_Name(BSTR name) override;
    STDMETHODIMP get_AccountNumber(BSTR* accountNumber) override;
    STDMETHODIMP put_AccountNumber(BSTR accountNumber) override;

private:
    HRESULT GetText(const char* operation, const std::optional<std::wstring>& setting, BSTR* out);
    HRESULT PutText(const char* operation, std::optional<std::wstring>& setting, BSTR text);
};

}  // namespace reference_host
