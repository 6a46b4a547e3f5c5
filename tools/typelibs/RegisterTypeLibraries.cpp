// Registers or unregisters type library files in the registry, so that
// automation clients find the host's interfaces.
//
//   pendrel-typelibs register|unregister FILE...
#include "ResourceHolders.h"
#include "TypeLibraryRegistration.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

HRESULT Register(const wchar_t* path, ITypeLib* library) {
    return RegisterTypeLib(library, const_cast<wchar_t*>(path), nullptr);
}

}  // namespace

int main() {
    int argc = 0;
    const LocalMemory arguments(CommandLineToArgvW(GetCommandLineW(), &argc));
    wchar_t** const argv = static_cast<wchar_t**>(arguments.Get());
    const std::wstring action = argc > 1 ? argv[1] : L"";
    if (argc < 3 || (action != L"register" && action != L"unregister")) {
        std::fputs("usage: pendrel-typelibs register|unregister FILE...\n", stderr);
        return 2;
    }
    int failures = 0;
    for (int index = 2; index < argc; ++index) {
        ComPtr<ITypeLib> library;
        HRESULT result = LoadTypeLibEx(argv[index], REGKIND_NONE, library.Put());
        if (SUCCEEDED(result))
            result = action == L"register" ? Register(argv[index], library.Get()) : UnregisterTypeLibrary(library.Get());
        if (FAILED(result)) {
            std::fprintf(stderr, "pendrel-typelibs: cannot %ls %ls (0x%08lX)\n", action.c_str(), argv[index],
                         static_cast<unsigned long>(result));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
