// A line of a CompactStatement (CompactStatement.h). It adds its record, as
// the new last line, as it is made, so that a line that cannot be made adds
// none. Each put of a value that
// StatementLineValues holds goes straight into the line's record in the
// statement's records; the other properties are taken and not kept, and
// every getter answers E_NOTIMPL: nothing is kept to give back. Calls go
// through the host objects' boundary, so the call log and the failure plan
// see them as they see a StatementLine's.
#pragma once

#include "HostObject.h"
#include "MavrinBankReconciliation.h"
#include "StatementLineRecords.h"
#include "WriteOnlyStatementLine.h"

#include <memory>

namespace reference_host {

class CompactStatementLine : public WriteOnlyStatementLine<HostObject<IHostStatementLine>> {
public:
    CompactStatementLine(std::shared_ptr<Scenario> scenario, std::shared_ptr<StatementLineRecords> records);

    STDMETHODIMP put_Number(VARIANT* v) override;
    STDMETHODIMP put_Date(DATE v) override;
    STDMETHODIMP put_Direction(LONG v) override;
    STDMETHODIMP put_Amount(double v) override;
    STDMETHODIMP put_Description(BSTR v) override;
    STDMETHODIMP put_Reference(BSTR v) override;
    STDMETHODIMP put_Payee(BSTR v) override;
    STDMETHODIMP put_Category(BSTR v) override;
    STDMETHODIMP put_Memo(BSTR v) override;
    STDMETHODIMP put_Currency(BSTR v) override;
    STDMETHODIMP put_BankCode(BSTR v) override;
    STDMETHODIMP put_Location(BSTR v) override;
    STDMETHODIMP put_CounterpartyAccount(BSTR v) override;
    STDMETHODIMP put_Reconciled(VARIANT_BOOL v) override;
    STDMETHODIMP put_ValueDate(DATE v) override;
    STDMETHODIMP put_ExchangeRate(double v) override;
    STDMETHODIMP put_TaxAmount(double v) override;
    STDMETHODIMP put_Balance(double v) override;

private:
    using Text = StatementLineRecords::Text;

    HRESULT KeepText(const char* operation, Text which, BSTR text);
    template <typename Value, typename Keep>
    HRESULT KeepNumber(const char* operation, Value value, Keep&& keep);
    HRESULT TakeText(const char* operation, BSTR text);
    template <typename Value>
    HRESULT TakeNumber(const char* operation, Value value);

    const std::shared_ptr<StatementLineRecords> m_records;
    const StatementLineRecords::Slot m_slot;
};

}  // namespace reference_host
