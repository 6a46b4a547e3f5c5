#include "ClassRegistration.h"

#include "HostClassFactory.h"
#include "MavrinBankReconciliation.h"

#include <cstdio>
#include <stdexcept>

namespace reference_host {
namespace {

// Registration cookies are never 0, which is also the holder's empty value.
void Register(const std::shared_ptr<Scenario>& scenario, HostClass hostClass, REFCLSID classId,
              UniqueHandle<DWORD, HRESULT, &CoRevokeClassObject>& cookie) {
    const ComPtr<HostClassFactory> factory = MakeObject<HostClassFactory>(scenario, hostClass);
    const HRESULT hr = CoRegisterClassObject(classId, static_cast<IClassFactory*>(factory.Get()),
                                             CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, cookie.Put());
    if (FAILED(hr)) {
        char message[64];
        std::snprintf(message, sizeof message, "CoRegisterClassObject failed: 0x%08lX", static_cast<unsigned long>(hr));
        throw std::runtime_error(message);
    }
}

}  // namespace

ClassRegistration::ClassRegistration(const std::shared_ptr<Scenario>& scenario) {
    Register(scenario, HostClass::BankSetup, CLSID_HostBankSetup, m_bankSetup);
    Register(scenario, HostClass::FileChooser, CLSID_HostFileChooser, m_fileChooser);
}

}  // namespace reference_host
