// The resource identifiers of the module DLL, for the resource script
// (Module.rc) and the class table: the registry scripts of the three classes
// (type "REGISTRY") and the type library. Plain macros, so that the resource
// compiler reads them too.
#pragma once

#define IDR_BANK_SCRIPT 101
#define IDR_BANK_SERVICES_SCRIPT 102
#define IDR_BANK_STATEMENT_SERVICE_SCRIPT 104

#define IDR_TYPE_LIBRARY 1
