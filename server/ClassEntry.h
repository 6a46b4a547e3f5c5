// One row of the module's class table: a creatable class, its cached class
// object and the functions that make its class object and its instances.
#pragma once

#include <windows.h>
#include <objbase.h>

// Makes an instance of a class, alone (null outer) or inside an aggregate.
using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);
// Makes a class object that creates instances with the given creator.
using ClassObjectCreator = HRESULT (*)(InstanceCreator creator, REFIID iid, void** out);

struct ClassEntry {
    const CLSID* clsid;                    // null in the entry that ends the table
    ClassObjectCreator createClassObject;  // null while the class is not available
    InstanceCreator createInstance;
    IUnknown* classObject;                 // the cache: one reference, or null
};
