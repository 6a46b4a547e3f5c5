// Removing a type library's registration, for the module's own library
// (DllUnregisterServer) and for the type library tool alike.
#pragma once

#include <windows.h>
#include <oleauto.h>

// Unregisters `library` by the identity its attributes give: identifier,
// version, locale and system kind.
HRESULT UnregisterTypeLibrary(ITypeLib* library);
