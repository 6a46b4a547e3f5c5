#include "ClassTable.h"

#include "Bank.h"
#include "BankServices.h"
#include "BankStatementService.h"
#include "ClassFactory.h"
#include "HostContract.h"
#include "ObjectWrappers.h"
#include "ResourceIds.h"

namespace {

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
        {&CLSID_Bank, &UpdateRegistration<IDR_BANK_SCRIPT>, &CreateClassObject, &CreateClassInstance<CBank>, nullptr,
         &BankCategories},
        {&CLSID_BankServices, &UpdateRegistration<IDR_BANK_SERVICES_SCRIPT>, &CreateClassObject,
         &CreateClassInstance<CBankServices>, nullptr, nullptr},
        {&CLSID_BankStatementService, &UpdateRegistration<IDR_BANK_STATEMENT_SERVICE_SCRIPT>, &CreateClassObject,
         &CreateClassInstance<CBankStatementService>, nullptr, nullptr},
        {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    };
    return table;
}
