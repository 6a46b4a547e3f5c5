// A host statement for long imports: it keeps of each line only the values
// that StatementLineValues holds, in compact records (StatementLineRecords.h),
// instead of an object a line. AddLine hands out a new CompactStatementLine
// whose puts go straight into its record; the line object is gone once the
// caller releases it, the record stays. Clear drops every record; a line
// still held from before then sets nothing. Lines() reads the records in
// order of AddLine. Item answers E_NOTIMPL: no line object is kept to hand
// back. Calls are logged and planned as a HostStatement's.
#pragma once

#include "StatementLineRecords.h"
#include "StatementObject.h"

#include <memory>

namespace reference_host {

class CompactStatement : public StatementObject {
public:
    explicit CompactStatement(std::shared_ptr<Scenario> scenario);

    const StatementLineRecords& Lines() const { return *m_records; }

    STDMETHODIMP get_Count(LONG* count) override;
    STDMETHODIMP Item(LONG, IHostStatementLine**) override { return E_NOTIMPL; }
    STDMETHODIMP AddLine(IHostStatementLine** line) override;
    STDMETHODIMP Clear() override;

private:
    // Shared with the line objects, which may outlive the statement.
    const std::shared_ptr<StatementLineRecords> m_records;
};

}  // namespace reference_host
