// Loads the module's type library by its registration, as a client of this
// program's bitness does (LoadRegTypeLib), and prints the file it comes from:
// "loaded PATH", or "failed 0xHRESULT". Run by the package tests.
#include "ResourceHolders.h"

#include <MavrinTorvVantryNewFormat.h>

#include <cstdio>

int main() {
    CoInitialize(nullptr);
    ComPtr<ITypeLib> library;
    BStr path;
    HRESULT result = LoadRegTypeLib(LIBID_MAVRINTORVVANTRY_NEWFORMATLib, 1, 0, 0, library.Put());
    if (SUCCEEDED(result)) result = QueryPathOfRegTypeLib(LIBID_MAVRINTORVVANTRY_NEWFORMATLib, 1, 0, 0, path.Put());
    if (SUCCEEDED(result))
        std::printf("loaded %ls\n", path.Get());
    else
        std::printf("failed 0x%08lX\n", static_cast<unsigned long>(result));
    library.Reset();
    CoUninitialize();
    return SUCCEEDED(result) ? 0 : 1;
}
