// A host statement for measuring what an import costs the module itself.
// It keeps no line and records no call: it counts the lines it is given and
// folds every value put into them into one checksum, so that a benchmark can
// see that the lines arrived, whole, without paying for the reference
// statement's keeping of them (an object per line, the call log). AddLine
// hands out one line object, the same every time, which holds the tally;
// Clear starts it afresh. Only what an import calls does anything: the
// getters, Item and IDispatch answer E_NOTIMPL (UndispatchedStatement).
#pragma once

#include "MavrinBankReconciliation.h"
#include "UndispatchedStatement.h"

#include <cstdint>

namespace reference_host {

// What a lean statement received.
struct LeanTally {
    long lines = 0;
    std::uint64_t checksum = 0;  // of every value put into a line, with the property it went to
};

class LeanStatementLine;

class LeanStatement : public UndispatchedStatement {
public:
    explicit LeanStatement(std::shared_ptr<Scenario> scenario);
    ~LeanStatement() override;

    const LeanTally& Tally() const;

    STDMETHODIMP get_Count(LONG* count) override;
    STDMETHODIMP AddLine(IHostStatementLine** line) override;
    STDMETHODIMP Clear() override;

private:
    ComPtr<LeanStatementLine> m_line;  // the one line
};

}  // namespace reference_host
