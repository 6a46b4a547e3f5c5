// The module's creatable classes, in the order of lookup, registration and
// termination, ended by an entry with a null class identifier.
#pragma once

#include "ClassEntry.h"

ClassEntry* ClassTable();
