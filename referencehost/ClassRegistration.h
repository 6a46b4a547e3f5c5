// Registers the class objects of HostBankSetup and HostFileChooser, bound to
// one scenario, so that CoCreateInstance of CLSID_HostBankSetup or
// CLSID_HostFileChooser on this thread reaches the reference host; revokes
// both when destroyed. Make and destroy it on one thread on which COM is
// initialised. COM holds the class objects' references while they are
// registered; revoking releases them.
#pragma once

#include "ResourceHolders.h"
#include "Scenario.h"

#include <memory>

namespace reference_host {

class ClassRegistration {
public:
    // Throws std::runtime_error when a class cannot be registered.
    explicit ClassRegistration(const std::shared_ptr<Scenario>& scenario);

private:
    using ClassObjectCookie = UniqueHandle<DWORD, HRESULT, &CoRevokeClassObject>;

    ClassObjectCookie m_bankSetup;
    ClassObjectCookie m_fileChooser;
};

}  // namespace reference_host
