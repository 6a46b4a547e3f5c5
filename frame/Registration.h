// Self-registration: the registry scripts of the classes, the component
// categories a class implements or requires, and the module's type library.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <comcat.h>

// One component category of a class: kind 1 implemented, 2 required; a list
// ends with kind 0.
struct CategoryEntry {
    int kind;
    const CATID* category;
};

constexpr int kImplementedCategory = 1;
constexpr int kRequiredCategory = 2;

// Runs the "REGISTRY" resource `resourceId` of this module in register or
// unregister mode, with "APPID", "Module" and "Module_Raw" replaced.
HRESULT RunRegistryScript(UINT resourceId, BOOL registerMode);

// Registers or unregisters the categories of one class with the platform's
// component categories manager; its absence is not an error.
HRESULT RegisterCategories(REFCLSID clsid, const CategoryEntry* categories, BOOL registerMode);

// The module's type library: from the DLL's own resource, or from the file
// of the same name with the extension ".tlb".
HRESULT LoadModuleTypeLibrary(BSTR* path, ITypeLib** library);
HRESULT RegisterModuleTypeLibrary();
HRESULT UnregisterModuleTypeLibrary();
