// The one line object of a LeanStatement (LeanStatement.h): every put folds
// its value, with the property's number, into the tally; nothing is kept.
#pragma once

#include "LeanStatement.h"
#include "UndispatchedObject.h"
#include "WriteOnlyStatementLine.h"

namespace reference_host {

class LeanStatementLine : public WriteOnlyStatementLine<UndispatchedObject<IHostStatementLine>> {
public:
    explicit LeanStatementLine(std::shared_ptr<Scenario> scenario);

    LeanTally& Tally() { return m_tally; }

    // The property numbers are the type library's dispatch identifiers.
    STDMETHODIMP put_Number(VARIANT* v) override;
    STDMETHODIMP put_Date(DATE v) override { return Fold(3, v); }
    STDMETHODIMP put_Reference(BSTR v) override { return Fold(4, v); }
    STDMETHODIMP put_Payee(BSTR v) override { return Fold(5, v); }
    STDMETHODIMP put_Direction(LONG v) override { return Fold(6, v); }
    STDMETHODIMP put_Category(BSTR v) override { return Fold(7, v); }
    STDMETHODIMP put_Reconciled(VARIANT_BOOL v) override { return Fold(8, v); }
    STDMETHODIMP put_ValueDate(DATE v) override { return Fold(9, v); }
    STDMETHODIMP put_Memo(BSTR v) override { return Fold(10, v); }
    STDMETHODIMP put_Currency(BSTR v) override { return Fold(11, v); }
    STDMETHODIMP put_ExchangeRate(double v) override { return Fold(12, v); }
    STDMETHODIMP put_BankCode(BSTR v) override { return Fold(13, v); }
    STDMETHODIMP put_Location(BSTR v) override { return Fold(14, v); }
    STDMETHODIMP put_CounterpartyAccount(BSTR v) override { return Fold(15, v); }
    STDMETHODIMP put_Description(BSTR v) override { return Fold(16, v); }
    STDMETHODIMP put_TaxAmount(double v) override { return Fold(17, v); }
    STDMETHODIMP put_Balance(double v) override { return Fold(18, v); }
    STDMETHODIMP put_Amount(double v) override { return Fold(19, v); }

private:
    void Mix(std::uint64_t value);
    HRESULT Fold(int property, double value);
    HRESULT Fold(int property, LONG value);
    HRESULT Fold(int property, VARIANT_BOOL value) { return Fold(property, static_cast<LONG>(value)); }
    HRESULT Fold(int property, BSTR text);

    LeanTally m_tally;
};

}  // namespace reference_host
