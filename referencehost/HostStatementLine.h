// One line of a host statement. It keeps every value put into it and gives
// it back through its getters; Values() is what tests read after an import.
// Texts are kept as BSTRs, so a null text stays null and embedded zeros stay.
#pragma once

#include "HostObject.h"
#include "MavrinBankReconciliation.h"

#include <string>

namespace reference_host {

// What a statement line holds, for tests. Texts are UTF-8 ("<null>" for a
// null text); the number is the VARIANT put into it, written as in the log
// ("VT_I4 1"; "VT_EMPTY" when none was put).
struct StatementLineValues {
    std::string number;
    long direction = 0;
    double amount = 0.0;
    DATE date = 0.0;
    std::string description;
    std::string reference;
};

class HostStatementLine : public HostObject<IHostStatementLine> {
public:
    HostStatementLine(std::shared_ptr<Scenario> scenario, long index);

    StatementLineValues Values() const;

    STDMETHODIMP get_Index(LONG* index) override;
    STDMETHODIMP get_Number(VARIANT* number) override;
    STDMETHODIMP put_Number(VARIANT* number) override;
    STDMETHODIMP get_Date(DATE* date) override;
    STDMETHODIMP put_Date(DATE date) override;
    STDMETHODIMP get_Reference(BSTR* reference) override;
    STDMETHODIMP put_Reference(BSTR reference) override;
    STDMETHODIMP get_Payee(BSTR* payee) override;
    STDMETHODIMP put_Payee(BSTR payee) override;
    STDMETHODIMP get_Direction(LONG* direction) override;
    STDMETHODIMP put_Direction(LONG direction) override;
    STDMETHODIMP get_Category(BSTR* category) override;
    STDMETHODIMP put_Category(BSTR category) override;
    STDMETHODIMP get_Reconciled(VARIANT_BOOL* reconciled) override;
    STDMETHODIMP put_Reconciled(VARIANT_BOOL reconciled) override;
    STDMETHODIMP get_ValueDate(DATE* valueDate) override;
    STDMETHODIMP put_ValueDate(DATE valueDate) override;
    STDMETHODIMP get_Memo(BSTR* memo) override;
    STDMETHODIMP put_Memo(BSTR memo) override;
    STDMETHODIMP get_Currency(BSTR* currency) override;
    STDMETHODIMP put_Currency(BSTR currency) override;
    STDMETHODIMP get_ExchangeRate(double* rate) override;
    STDMETHODIMP put_ExchangeRate(double rate) override;
    STDMETHODIMP get_BankCode(BSTR* bankCode) override;
    STDMETHODIMP put_BankCode(BSTR bankCode) override;
    STDMETHODIMP get_Location(BSTR* location) override;
    STDMETHODIMP put_Location(BSTR location) override;
    STDMETHODIMP get_CounterpartyAccount(BSTR* account) override;
    STDMETHODIMP put_CounterpartyAccount(BSTR account) override;
    STDMETHODIMP get_Description(BSTR* description) override;
    STDMETHODIMP put_Description(BSTR description) override;
    STDMETHODIMP get_TaxAmount(double* amount) override;
    STDMETHODIMP put_TaxAmount(double amount) override;
    STDMETHODIMP get_Balance(double* balance) override;
    STDMETHODIMP put_Balance(double balance) override;
    STDMETHODIMP get_Amount(double* amount) override;
    STDMETHODIMP put_Amount(double amount) override;

private:
    HRESULT GetText(const char* operation, const BStr& member, BSTR* out);
    HRESULT PutText(const char* operation, BStr& member, BSTR text);
    template <typename Value>
    HRESULT GetValue(const char* operation, const Value& member, Value* out);
    template <typename Value>
    HRESULT PutValue(const char* operation, Value& member, Value value);

    const long m_index;
    Variant m_number;
    DATE m_date = 0.0;
    DATE m_valueDate = 0.0;
    LONG m_direction = 0;
    VARIANT_BOOL m_reconciled = VARIANT_FALSE;
    double m_exchangeRate = 0.0;
    double m_taxAmount = 0.0;
    double m_balance = 0.0;
    double m_amount = 0.0;
    BStr m_reference, m_payee, m_category, m_memo, m_currency, m_bankCode, m_location, m_counterpartyAccount,
        m_description;
};

}  // namespace reference_host
