// What the reference host's statements have alike, whatever they keep of
// their lines: the name "Reference statement" and a balance the caller sets
// and reads back. The statement itself implements its lines.
#pragma once

#include "HostObject.h"
#include "MavrinBankReconciliation.h"

namespace reference_host {

class StatementObject : public HostObject<IHostStatement> {
public:
    double Balance() const { return m_balance; }

    STDMETHODIMP get_Name(BSTR* name) override;
    STDMETHODIMP get_Balance(double* balance) override;
    STDMETHODIMP put_Balance(double balance) override;

protected:
    explicit StatementObject(std::shared_ptr<Scenario> scenario);

private:
    double m_balance = 0.0;
};

}  // namespace reference_host
