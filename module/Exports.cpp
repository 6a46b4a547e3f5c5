// The DLL's entry point and its exported functions.
#include "ClassTable.h"
#include "ComModule.h"
#include "Failures.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ModuleInit(ClassTable());
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        ModuleTerm();
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) { return Module().GetClassObject(clsid, iid, out); }

STDAPI DllCanUnloadNow() { return ModuleLockCount() == 0 ? S_OK : S_FALSE; }

namespace {

const CategoryEntry* CategoriesOf(const ClassEntry& entry) { return entry.categories ? entry.categories() : nullptr; }

}  // namespace

// Every class's script and categories, in class table order, then the type
// library. A failure is returned at once; what was written before it stays.
STDAPI DllRegisterServer() {
    for (ClassEntry* entry = ClassTable(); entry->clsid; ++entry) {
        RETURN_IF_FAILED(entry->updateRegistration(TRUE));
        RETURN_IF_FAILED(RegisterCategories(*entry->clsid, CategoriesOf(*entry), TRUE));
    }
    return RegisterModuleTypeLibrary();
}

STDAPI DllUnregisterServer() {
    for (ClassEntry* entry = ClassTable(); entry->clsid; ++entry) {
        RETURN_IF_FAILED(RegisterCategories(*entry->clsid, CategoriesOf(*entry), FALSE));
        RETURN_IF_FAILED(entry->updateRegistration(FALSE));
    }
    return UnregisterModuleTypeLibrary();
}
