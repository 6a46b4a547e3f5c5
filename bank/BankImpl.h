// IBankImpl: the bank object's dual interface: its display name, its
// services collection, its kind and the opening of the host's bank set-up.
//
// The services collection is made on the first get_Services and kept, with
// one reference, for the bank object's life; every call hands out the same
// collection, which the host may keep after the bank object is gone. A
// failed creation leaves no collection, so the next call tries again.
#pragma once

#include "BankDisplayName.h"
#include "DispatchImpl.h"
#include "Failures.h"
#include "HostCalls.h"
#include "HostContract.h"
#include "MethodGuard.h"
#include "ObjectWrappers.h"
#include "ResourceHolders.h"

#include <MavrinTorvVantryNewFormat.h>

#include <algorithm>
#include <iterator>

template <typename Services, typename Interface, const IID* Iid, const GUID* Libid, WORD Major, WORD Minor,
          typename Holder = CComTypeInfoHolder>
class IBankImpl : public IDispatchImpl<Interface, Iid, Libid, Major, Minor, Holder> {
public:
    static constexpr long kKind = 1;
    // The host's bank set-up is told to open the set-up with this mode.
    static constexpr long kOpenSetupMode = 1;

    // A name that cannot be allocated makes the construction fail.
    IBankImpl() : m_name(WideDisplayName()) {
        if (!m_name.Get()) ThrowOutOfMemory();
    }

    // A copy of the same bytes; a copy that cannot be allocated gives a null
    // string and still S_OK.
    STDMETHOD(get_Name)(BSTR* name) override {
        return GuardedCall([&] {
            *RequireOut(name) = m_name.Copy();
        });
    }

    STDMETHOD(get_Services)(IMavrinBankServices** out) override {
        return GuardedCall([&] {
            *RequireOut(out) = nullptr;
            if (!m_services) {
                CComObject<Services>* created = nullptr;
                RaiseIfFailed(CreateInstanceDirect(&created));
                m_services = ComPtr<CComObject<Services>>(created);
            }
            IMavrinBankServices* const services = m_services.Get();
            services->AddRef();
            *out = services;
        });
    }

    STDMETHOD(get_Kind)(long* kind) override {
        return GuardedCall([&] { *RequireOut(kind) = kKind; });
    }

    // The argument plays no part. The host's bank set-up lives for this call
    // only; a set-up that cannot be created fails the call like a failed one.
    STDMETHOD(OpenSetup)(long) override {
        return GuardedCall([&] {
            const ComPtr<IHostBankSetup> setup = CreateHostObject<IHostBankSetup>(CLSID_HostBankSetup);
            unsigned char record[kBankSetupRecordSize];
            FillBankNameRecord(record);
            CheckedHostCall(setup, [&](IHostBankSetup* host) { return host->OpenBankSetup(record, kOpenSetupMode); });
        });
    }

private:
    // The display name is ASCII, so each narrow character is its own wide one.
    static BStr WideDisplayName() {
        wchar_t wide[sizeof kBankDisplayName];
        std::copy(std::begin(kBankDisplayName), std::end(kBankDisplayName), wide);
        return BStr(wide);
    }

    BStr m_name;
    ComPtr<CComObject<Services>> m_services;
};
