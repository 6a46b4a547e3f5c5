#include "HostClassFactory.h"

#include "CallValues.h"
#include "HostBankSetup.h"
#include "HostFileChooser.h"
#include "RecordedCall.h"

#include <new>

namespace reference_host {

HostClassFactory::HostClassFactory(std::shared_ptr<Scenario> scenario, HostClass hostClass)
    : ComObject(std::move(scenario), LiveKind::ClassFactory),
      m_class(hostClass),
      m_object(hostClass == HostClass::BankSetup ? "BankSetup" : "FileChooser") {}

STDMETHODIMP HostClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        RecordedCall call(GetScenario(), m_object, 0, "CreateInstance", Passed(InterfaceName(iid)));
        if (call.IsPlanned()) return call.AnswerPlanned(IID_IClassFactory);
        if (outer) return call.Finish(CLASS_E_NOAGGREGATION);
        return call.Finish(Create(iid, out));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP HostClassFactory::LockServer(BOOL) {
    return S_OK;
}

HRESULT HostClassFactory::Create(REFIID iid, void** out) {
    if (m_class == HostClass::BankSetup) return GetScenario().CreateBankSetup().QueryTo(iid, out);
    return GetScenario().CreateFileChooser().QueryTo(iid, out);
}

}  // namespace reference_host
