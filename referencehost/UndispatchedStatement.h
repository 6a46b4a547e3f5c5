// A host statement for callers that only fill it, as an import does: no
// type information or late binding (UndispatchedObject), no line objects
// kept to hand back (Item answers E_NOTIMPL, as get_Name does), and the
// balance the caller sets, read back as set. The benchmark's lean statement
// and the import tool's statement are made of it.
#pragma once

#include "MavrinBankReconciliation.h"
#include "UndispatchedObject.h"

namespace reference_host {

class UndispatchedStatement : public UndispatchedObject<IHostStatement> {
public:
    STDMETHODIMP Item(LONG, IHostStatementLine** line) override {
        if (line) *line = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP get_Name(BSTR* name) override {
        if (name) *name = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP get_Balance(double* balance) override {
        if (!balance) return E_POINTER;
        *balance = m_balance;
        return S_OK;
    }
    STDMETHODIMP put_Balance(double balance) override {
        m_balance = balance;
        return S_OK;
    }

protected:
    explicit UndispatchedStatement(std::shared_ptr<Scenario> scenario)
        : UndispatchedObject(std::move(scenario), LiveKind::HostObject) {}

private:
    double m_balance = 0.0;
};

}  // namespace reference_host
