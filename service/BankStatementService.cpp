#include "BankStatementService.h"

const InterfaceEntry<CBankStatementService>* CBankStatementService::InterfaceTable() {
    using Self = CBankStatementService;
    static const InterfaceEntry<Self> table[] = {
        {&IID_IDispatch, &CastTo<Self, IBankStatementService>},
        {&IID_ISupportErrorInfo, &CastTo<Self, ISupportErrorInfo>},
        {&IID_IBankStatementService, &CastTo<Self, IBankStatementService>},
        {&IID_IMavrinBankStatementService, &CastTo<Self, IBankStatementService>},
        {nullptr, nullptr},
    };
    return table;
}

STDMETHODIMP CBankStatementService::ReservedMethod1(long* reserved) {
    return GuardedCall([&] { RequireOut(reserved); });
}

STDMETHODIMP CBankStatementService::ReservedMethod2(long, long* reserved) {
    return GuardedCall([&] { RequireOut(reserved); });
}

STDMETHODIMP CBankStatementService::ReservedMethod3(long, long* reserved) {
    return GuardedCall([&] { RequireOut(reserved); });
}

STDMETHODIMP CBankStatementService::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, IID_IBankStatementService) ? S_OK : S_FALSE;
}
