#include "HostBankAccount.h"

#include "HostStrings.h"

namespace reference_host {

HostBankAccount::HostBankAccount(std::shared_ptr<Scenario> scenario)
    : HostObject(std::move(scenario), "BankAccount") {}

STDMETHODIMP HostBankAccount::get_SortCode(BSTR* sortCode) {
    return GetText("get_SortCode", Settings().sortCode, sortCode);
}

STDMETHODIMP HostBankAccount::put_SortCode(BSTR sortCode) {
    return PutText("put_SortCode", Settings().sortCode, sortCode);
}

STDMETHODIMP HostBankAccount::get_Name(BSTR* name) {
    return GetText("get_Name", Settings().accountName, name);
}

STDMETHODIMP HostBankAccount::put_Name(BSTR name) {
    return Perform("put_Name", [&] { return Passed(TextOf(name)); }, [&] {
        Settings().accountName = WideFromBstr(name).value_or(std::wstring());
        return S_OK;
    });
}

STDMETHODIMP HostBankAccount::get_AccountNumber(BSTR* accountNumber) {
    return GetText("get_AccountNumber", Settings().accountNumber, accountNumber);
}

STDMETHODIMP HostBankAccount::put_AccountNumber(BSTR accountNumber) {
    return PutText("put_AccountNumber", Settings().accountNumber, accountNumber);
}

HRESULT HostBankAccount::GetText(const char* operation, const std::optional<std::wstring>& setting, BSTR* out) {
    return Perform(operation, NoValues, [&] { return out ? CopyToBstr(setting, out) : E_POINTER; }, out);
}

HRESULT HostBankAccount::PutText(const char* operation, std::optional<std::wstring>& setting, BSTR text) {
    return Perform(operation, [&] { return Passed(TextOf(text)); }, [&] {
        setting = WideFromBstr(text);
        return S_OK;
    });
}

}  // namespace reference_host
