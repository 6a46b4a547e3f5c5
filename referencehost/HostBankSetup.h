// The host's bank set-up. GetFileOptions records the 100-byte bank name it
// is given and fills the 400-byte options block with HostOptionsBlock();
// OpenBankSetup records the 1024-byte bank name record and the mode. Both
// read exactly those sizes from the caller's buffers.
#pragma once

#include "HostObject.h"
#include "MavrinBankReconciliation.h"

namespace reference_host {

class HostBankSetup : public HostObject<IHostBankSetup> {
public:
    explicit HostBankSetup(std::shared_ptr<Scenario> scenario);

    STDMETHODIMP OpenBankSetup(unsigned char* bankName, LONG mode) override;
    STDMETHODIMP GetFileOptions(unsigned char* bankName, unsigned char* options) override;
};

}  // namespace reference_host
