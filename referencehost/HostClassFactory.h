// The class object of one of the two host classes that the module creates by
// class identifier. CreateInstance is recorded as "<object>.CreateInstance"
// (instance 0) and takes a planned outcome like any operation, so a test can
// make the creation of one class fail. No aggregation; LockServer does
// nothing, as the objects live in the test program itself.
#pragma once

#include "ComObject.h"

#include <string>

namespace reference_host {

enum class HostClass { BankSetup, FileChooser };

class HostClassFactory : public ComObject<IClassFactory> {
public:
    HostClassFactory(std::shared_ptr<Scenario> scenario, HostClass hostClass);

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    HRESULT Create(REFIID iid, void** out);

    const HostClass m_class;
    const std::string m_object;
};

}  // namespace reference_host
