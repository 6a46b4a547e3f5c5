// IBankServiceImpl: what every bank service of the module shares: its
// display name and its cancelled flag, over the IDispatch of its interface.
#pragma once

#include "DispatchImpl.h"
#include "Failures.h"
#include "MethodGuard.h"

#include <MavrinTorvVantryNewFormat.h>


template <typename Interface, const IID* Iid>
class IBankServiceImpl : public IDispatchImpl<Interface, Iid, &LIBID_MAVRINTORVVANTRY_NEWFORMATLib, 1, 0> {
public:
    // A name that cannot be allocated makes the construction fail.
    IBankServiceImpl() : m_name(L"Bank Reconciliation Service"), m_cancelled(0) {
        if (!m_name.Get()) ThrowOutOfMemory();
    }

    // A copy of the same bytes; a copy that cannot be allocated gives a null
    // string and still S_OK.
    STDMETHOD(get_Name)(BSTR* name) override {
        return GuardedCall([&] {
            *RequireOut(name) = m_name.Copy();
        });
    }

    STDMETHOD(get_Cancelled)(long* cancelled) override {
        return GuardedCall([&] { *RequireOut(cancelled) = m_cancelled; });
    }

    STDMETHOD(put_Cancelled)(long cancelled) override {
        m_cancelled = cancelled;
        return S_OK;
    }

protected:
    BStr m_name;
    long m_cancelled;
};
