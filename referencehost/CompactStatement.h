// A host statement for long imports: it keeps of each line only the values
// that StatementLineValues holds, in compact records (StatementLineRecords.h),
// instead of an object a line. AddLine hands out a new CompactStatementLine
// whose puts go straight into its record; the line object is gone once the
// caller releases it, the record stays. Clear drops every record; a line
// still held from before then sets nothing. Lines() reads the records in
// order of AddLine. Item answers E_NOTIMPL: no line object is kept to hand
// back. Calls are logged and planned as a HostStatement's.
#pragma once

#include "HostObject.h"
#include "MavrinBankReconciliation.h"
#include "StatementLineRecords.h"

#include <memory>

namespace reference_host {

class CompactStatement : public HostObject<IHostStatement> {
public:
    explicit CompactStatement(std::shared_ptr<Scenario> scenario);

    const StatementLineRecords& Lines() const { return *m_records; }
    double Balance() const { return m_balance; }

    STDMETHODIMP get_Count(LONG* count) override;
    STDMETHODIMP Item(LONG, IHostStatementLine**) override { return E_NOTIMPL; }
    STDMETHODIMP AddLine(IHostStatementLine** line) override;
    STDMETHODIMP Clear() override;
    STDMETHODIMP get_Name(BSTR* name) override;
    STDMETHODIMP get_Balance(double* balance) override;
    STDMETHODIMP put_Balance(double balance) override;

private:
    // Shared with the line objects, which may outlive the statement.
    const std::shared_ptr<StatementLineRecords> m_records;
    double m_balance = 0.0;
};

}  // namespace reference_host
