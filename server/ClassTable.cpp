#include "ClassTable.h"

#include "Bank.h"
#include "BankServices.h"
#include "BankStatementService.h"
#include "ClassFactory.h"
#include "ObjectWrappers.h"

// An entry without a class-object creator is not available yet: requests for
// it answer CLASS_E_CLASSNOTAVAILABLE.
ClassEntry* ClassTable() {
    static ClassEntry table[] = {
        {&CLSID_Bank, &CreateClassObject, &CreateClassInstance<CBank>, nullptr},
        {&CLSID_BankServices, &CreateClassObject, &CreateClassInstance<CBankServices>, nullptr},
        {&CLSID_BankStatementService, &CreateClassObject, &CreateClassInstance<CBankStatementService>, nullptr},
        {nullptr, nullptr, nullptr, nullptr},
    };
    return table;
}
