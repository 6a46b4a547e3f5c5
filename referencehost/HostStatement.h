// A host statement: an ordered list of statement lines and a balance.
// AddLine appends a new line that the statement keeps after the caller
// releases its reference; Clear drops them all. Lines() is what tests read
// after an import: the values of the lines now held, in order of AddLine.
#pragma once

#include "HostStatementLine.h"
#include "StatementObject.h"

#include <vector>

namespace reference_host {

class HostStatement : public StatementObject {
public:
    explicit HostStatement(std::shared_ptr<Scenario> scenario);

    std::vector<StatementLineValues> Lines() const;

    STDMETHODIMP get_Count(LONG* count) override;
    // Lines are numbered from 0 in order of AddLine.
    STDMETHODIMP Item(LONG index, IHostStatementLine** line) override;
    STDMETHODIMP AddLine(IHostStatementLine** line) override;
    STDMETHODIMP Clear() override;

private:
    std::vector<ComPtr<HostStatementLine>> m_lines;
};

}  // namespace reference_host
