// One row of the module's class table: a creatable class, how it registers,
// its cached class object and the functions that make its class object and
// its instances.
#pragma once

#include "Registration.h"
#include "ResourceHolders.h"

// Makes an instance of a class, alone (null outer) or inside an aggregate.
using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);
// Makes a class object that creates instances with the given creator.
using ClassObjectCreator = HRESULT (*)(InstanceCreator creator, REFIID iid, void** out);
// Runs the class's registry script to register (non-zero) or unregister.
using RegistrationUpdater = HRESULT (*)(BOOL registerMode);
// The class's component categories, or null when it declares none.
using CategoryListGetter = const CategoryEntry* (*)();

struct ClassEntry {
    const CLSID* clsid;  // null in the entry that ends the table
    RegistrationUpdater updateRegistration;
    ClassObjectCreator createClassObject;
    InstanceCreator createInstance;
    PublishedComPtr<IUnknown> classObject;  // the cache: one reference, or null
    CategoryListGetter categories;
};
