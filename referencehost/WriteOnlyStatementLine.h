// The getters of a host statement line that keeps nothing to give back:
// each answers E_NOTIMPL. Base is the line's object base (over
// IHostStatementLine); the line itself implements the puts.
#pragma once

#include "MavrinBankReconciliation.h"

namespace reference_host {

template <typename Base>
class WriteOnlyStatementLine : public Base {
public:
    STDMETHODIMP get_Index(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Number(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Date(DATE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Reference(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Payee(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Direction(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Category(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Reconciled(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_ValueDate(DATE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Memo(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Currency(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_ExchangeRate(double*) override { return E_NOTIMPL; }
    STDMETHODIMP get_BankCode(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Location(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_CounterpartyAccount(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Description(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_TaxAmount(double*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Balance(double*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Amount(double*) override { return E_NOTIMPL; }

protected:
    using Base::Base;
};

}  // namespace reference_host
