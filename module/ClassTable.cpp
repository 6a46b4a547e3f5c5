#include "ClassTable.h"

#include "Bank.h"
#include "BankServices.h"
#include "BankStatementService.h"
#include "ClassFactory.h"
#include "HostContract.h"
#include "ObjectWrappers.h"

namespace {

// Registry script resources of the classes (type "REGISTRY").
constexpr UINT kBankScript = 101;
constexpr UINT kBankServicesScript = 102;
constexpr UINT kBankStatementServiceScript = 104;

template <UINT Script>
HRESULT UpdateRegistration(BOOL registerMode) {
    return RunRegistryScript(Script, registerMode);
}

const CategoryEntry* BankCategories() {
    static const CategoryEntry categories[] = {
        {kImplementedCategory, &CATID_HostCategory},
        {0, nullptr},
    };
    return categories;
}

}  // namespace

ClassEntry* ClassTable() {
    static ClassEntry table[] = {
        {&CLSID_Bank, &UpdateRegistration<kBankScript>, &CreateClassObject, &CreateClassInstance<CBank>, nullptr,
         &BankCategories},
        {&CLSID_BankServices, &UpdateRegistration<kBankServicesScript>, &CreateClassObject,
         &CreateClassInstance<CBankServices>, nullptr, nullptr},
        {&CLSID_BankStatementService, &UpdateRegistration<kBankStatementServiceScript>, &CreateClassObject,
         &CreateClassInstance<CBankStatementService>, nullptr, nullptr},
        {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    };
    return table;
}
