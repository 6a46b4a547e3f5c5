#include "TypeLibraryRegistration.h"

#include "Failures.h"
#include "ResourceHolders.h"

HRESULT UnregisterTypeLibrary(ITypeLib* library) {
    const TypeLibAttributes attributes(library, &ITypeLib::GetLibAttr);
    RETURN_IF_FAILED(attributes.Result());
    return UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                             attributes->syskind);
}
