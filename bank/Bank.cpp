#include "Bank.h"

const InterfaceEntry<CBank>* CBank::InterfaceTable() {
    using Self = CBank;
    static const InterfaceEntry<Self> table[] = {
        {&IID_IBank, &CastTo<Self, IBank>},
        {&IID_IMavrinBank, &CastTo<Self, IBank>},
        {&IID_IDispatch, &CastTo<Self, IBank>},
        {&IID_ISupportErrorInfo, &CastTo<Self, ISupportErrorInfo>},
        {nullptr, nullptr},
    };
    return table;
}

// Only the module's own interface, not the host's it derives from.
STDMETHODIMP CBank::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, IID_IBank) ? S_OK : S_FALSE;
}
