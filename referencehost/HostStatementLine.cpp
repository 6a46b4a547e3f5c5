#include "HostStatementLine.h"

#include "HostStrings.h"

namespace reference_host {

HostStatementLine::HostStatementLine(std::shared_ptr<Scenario> scenario, long index)
    : HostObject(std::move(scenario), "StatementLine"), m_index(index) {}

StatementLineValues HostStatementLine::Values() const {
    return {VariantText(m_number.Get()), m_direction,          m_amount,
            m_date,                      TextOf(m_description.Get()), TextOf(m_reference.Get())};
}

STDMETHODIMP HostStatementLine::get_Number(VARIANT* number) {
    return Perform("get_Number", NoValues, [&] {
        if (!number) return E_POINTER;
        VariantInit(number);
        return VariantCopy(number, const_cast<VARIANT*>(m_number.Get()));
    });
}

STDMETHODIMP HostStatementLine::put_Number(VARIANT* number) {
    return Perform("put_Number", [&] { return Passed(VariantText(number)); }, [&] {
        return number ? VariantCopy(m_number.Put(), number) : E_POINTER;
    });
}

// Every other property is a plain value or a text, kept as given.
STDMETHODIMP HostStatementLine::get_Index(LONG* v) { return GetValue("get_Index", m_index, v); }
STDMETHODIMP HostStatementLine::get_Date(DATE* v) { return GetValue("get_Date", m_date, v); }
STDMETHODIMP HostStatementLine::put_Date(DATE v) { return PutValue("put_Date", m_date, v); }
STDMETHODIMP HostStatementLine::get_Reference(BSTR* v) { return GetText("get_Reference", m_reference, v); }
STDMETHODIMP HostStatementLine::put_Reference(BSTR v) { return PutText("put_Reference", m_reference, v); }
STDMETHODIMP HostStatementLine::get_Payee(BSTR* v) { return GetText("get_Payee", m_payee, v); }
STDMETHODIMP HostStatementLine::put_Payee(BSTR v) { return PutText("put_Payee", m_payee, v); }
STDMETHODIMP HostStatementLine::get_Direction(LONG* v) { return GetValue("get_Direction", m_direction, v); }
STDMETHODIMP HostStatementLine::put_Direction(LONG v) { return PutValue("put_Direction", m_direction, v); }
STDMETHODIMP HostStatementLine::get_Category(BSTR* v) { return GetText("get_Category", m_category, v); }
STDMETHODIMP HostStatementLine::put_Category(BSTR v) { return PutText("put_Category", m_category, v); }
STDMETHODIMP HostStatementLine::get_Reconciled(VARIANT_BOOL* v) { return GetValue("get_Reconciled", m_reconciled, v); }
STDMETHODIMP HostStatementLine::put_Reconciled(VARIANT_BOOL v) { return PutValue("put_Reconciled", m_reconciled, v); }
STDMETHODIMP HostStatementLine::get_ValueDate(DATE* v) { return GetValue("get_ValueDate", m_valueDate, v); }
STDMETHODIMP HostStatementLine::put_ValueDate(DATE v) { return PutValue("put_ValueDate", m_valueDate, v); }
STDMETHODIMP HostStatementLine::get_Memo(BSTR* v) { return GetText("get_Memo", m_memo, v); }
STDMETHODIMP HostStatementLine::put_Memo(BSTR v) { return PutText("put_Memo", m_memo, v); }
STDMETHODIMP HostStatementLine::get_Currency(BSTR* v) { return GetText("get_Currency", m_currency, v); }
STDMETHODIMP HostStatementLine::put_Currency(BSTR v) { return PutText("put_Currency", m_currency, v); }
STDMETHODIMP HostStatementLine::get_ExchangeRate(double* v) { return GetValue("get_ExchangeRate", m_exchangeRate, v); }
STDMETHODIMP HostStatementLine::put_ExchangeRate(double v) { return PutValue("put_ExchangeRate", m_exchangeRate, v); }
STDMETHODIMP HostStatementLine::get_BankCode(BSTR* v) { return GetText("get_BankCode", m_bankCode, v); }
STDMETHODIMP HostStatementLine::put_BankCode(BSTR v) { return PutText("put_BankCode", m_bankCode, v); }
STDMETHODIMP HostStatementLine::get_Location(BSTR* v) { return GetText("get_Location", m_location, v); }
STDMETHODIMP HostStatementLine::put_Location(BSTR v) { return PutText("put_Location", m_location, v); }
STDMETHODIMP HostStatementLine::get_CounterpartyAccount(BSTR* v) {
    return GetText("get_CounterpartyAccount", m_counterpartyAccount, v);
}
STDMETHODIMP HostStatementLine::put_CounterpartyAccount(BSTR v) {
    return PutText("put_CounterpartyAccount", m_counterpartyAccount, v);
}
STDMETHODIMP HostStatementLine::get_Description(BSTR* v) { return GetText("get_Description", m_description, v); }
STDMETHODIMP HostStatementLine::put_Description(BSTR v) { return PutText("put_Description", m_description, v); }
STDMETHODIMP HostStatementLine::get_TaxAmount(double* v) { return GetValue("get_TaxAmount", m_taxAmount, v); }
STDMETHODIMP HostStatementLine::put_TaxAmount(double v) { return PutValue("put_TaxAmount", m_taxAmount, v); }
STDMETHODIMP HostStatementLine::get_Balance(double* v) { return GetValue("get_Balance", m_balance, v); }
STDMETHODIMP HostStatementLine::put_Balance(double v) { return PutValue("put_Balance", m_balance, v); }
STDMETHODIMP HostStatementLine::get_Amount(double* v) { return GetValue("get_Amount", m_amount, v); }
STDMETHODIMP HostStatementLine::put_Amount(double v) { return PutValue("put_Amount", m_amount, v); }

HRESULT HostStatementLine::GetText(const char* operation, const BStr& member, BSTR* out) {
    return Perform(operation, NoValues, [&] { return out ? CopyToBstr(member, out) : E_POINTER; }, out);
}

HRESULT HostStatementLine::PutText(const char* operation, BStr& member, BSTR text) {
    return Perform(operation, [&] { return Passed(TextOf(text)); }, [&] {
        member = CopyOf(text);
        return S_OK;
    });
}

template <typename Value>
HRESULT HostStatementLine::GetValue(const char* operation, const Value& member, Value* out) {
    return Perform(operation, NoValues, [&] {
        if (!out) return E_POINTER;
        *out = member;
        return S_OK;
    });
}

template <typename Value>
HRESULT HostStatementLine::PutValue(const char* operation, Value& member, Value value) {
    return Perform(operation, [&] { return Passed(PlainValueText(value)); }, [&] {
        member = value;
        return S_OK;
    });
}

}  // namespace reference_host
