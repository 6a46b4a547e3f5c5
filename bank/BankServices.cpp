#include "BankServices.h"

#include "BankStatementService.h"
#include "MethodGuard.h"
#include "ObjectWrappers.h"

const InterfaceEntry<CBankServices>* CBankServices::InterfaceTable() {
    using Self = CBankServices;
    static const InterfaceEntry<Self> table[] = {
        {&IID_IDispatch, &CastTo<Self, IBankServices>},
        {&IID_ISupportErrorInfo, &CastTo<Self, ISupportErrorInfo>},
        {&IID_IBankServices, &CastTo<Self, IBankServices>},
        {nullptr, nullptr},
    };
    return table;
}

// The new service is held while it is added, so that a failed Add destroys
// it instead of leaving it (and a module lock) behind; once added, the
// collection's reference is the only one.
HRESULT CBankServices::CompleteConstruction() {
    return GuardedCall([&] {
        RaiseIfFailed(RemoveAll());
        CComObject<CBankStatementService>* created = nullptr;
        RaiseIfFailed(CreateInstanceDirect(&created));
        const ComPtr<IMavrinBankService> service(created);
        RaiseIfFailed(Add(service.Get()));
    });
}

STDMETHODIMP CBankServices::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, IID_IBankServices) ? S_OK : S_FALSE;
}
