#include "CompactStatementLine.h"

namespace reference_host {

CompactStatementLine::CompactStatementLine(std::shared_ptr<Scenario> scenario,
                                           std::shared_ptr<StatementLineRecords> records)
    : WriteOnlyStatementLine(std::move(scenario), "StatementLine"), m_records(std::move(records)), m_slot(m_records->Add()) {}

STDMETHODIMP CompactStatementLine::put_Number(VARIANT* number) {
    return Perform("put_Number", [&] { return Passed(VariantText(number)); }, [&] {
        if (!number) return E_POINTER;
        if (V_VT(number) == VT_I4)
            m_records->SetNumber(m_slot, V_I4(number));
        else
            m_records->SetNumberText(m_slot, VariantText(number));
        return S_OK;
    });
}

STDMETHODIMP CompactStatementLine::put_Date(DATE v) {
    return KeepNumber("put_Date", v, [&] { m_records->SetDate(m_slot, v); });
}

STDMETHODIMP CompactStatementLine::put_Direction(LONG v) {
    return KeepNumber("put_Direction", v, [&] { m_records->SetDirection(m_slot, v); });
}

STDMETHODIMP CompactStatementLine::put_Amount(double v) {
    return KeepNumber("put_Amount", v, [&] { m_records->SetAmount(m_slot, v); });
}

STDMETHODIMP CompactStatementLine::put_Description(BSTR v) { return KeepText("put_Description", Text::Description, v); }
STDMETHODIMP CompactStatementLine::put_Reference(BSTR v) { return KeepText("put_Reference", Text::Reference, v); }

// The properties a StatementLineValues does not hold are taken and not kept.
STDMETHODIMP CompactStatementLine::put_Payee(BSTR v) { return TakeText("put_Payee", v); }
STDMETHODIMP CompactStatementLine::put_Category(BSTR v) { return TakeText("put_Category", v); }
STDMETHODIMP CompactStatementLine::put_Memo(BSTR v) { return TakeText("put_Memo", v); }
STDMETHODIMP CompactStatementLine::put_Currency(BSTR v) { return TakeText("put_Currency", v); }
STDMETHODIMP CompactStatementLine::put_BankCode(BSTR v) { return TakeText("put_BankCode", v); }
STDMETHODIMP CompactStatementLine::put_Location(BSTR v) { return TakeText("put_Location", v); }
STDMETHODIMP CompactStatementLine::put_CounterpartyAccount(BSTR v) { return TakeText("put_CounterpartyAccount", v); }
STDMETHODIMP CompactStatementLine::put_Reconciled(VARIANT_BOOL v) { return TakeNumber("put_Reconciled", v); }
STDMETHODIMP CompactStatementLine::put_ValueDate(DATE v) { return TakeNumber("put_ValueDate", v); }
STDMETHODIMP CompactStatementLine::put_ExchangeRate(double v) { return TakeNumber("put_ExchangeRate", v); }
STDMETHODIMP CompactStatementLine::put_TaxAmount(double v) { return TakeNumber("put_TaxAmount", v); }
STDMETHODIMP CompactStatementLine::put_Balance(double v) { return TakeNumber("put_Balance", v); }

HRESULT CompactStatementLine::KeepText(const char* operation, Text which, BSTR text) {
    return Perform(operation, [&] { return Passed(TextOf(text)); }, [&] {
        m_records->SetText(m_slot, which, TextOf(text));
        return S_OK;
    });
}

template <typename Value, typename Keep>
HRESULT CompactStatementLine::KeepNumber(const char* operation, Value value, Keep&& keep) {
    return Perform(operation, [&] { return Passed(PlainValueText(value)); }, [&] {
        keep();
        return S_OK;
    });
}

HRESULT CompactStatementLine::TakeText(const char* operation, BSTR text) {
    return Perform(operation, [&] { return Passed(TextOf(text)); }, [] { return S_OK; });
}

template <typename Value>
HRESULT CompactStatementLine::TakeNumber(const char* operation, Value value) {
    return Perform(operation, [&] { return Passed(PlainValueText(value)); }, [] { return S_OK; });
}

}  // namespace reference_host
