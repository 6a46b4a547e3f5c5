// The bank module as this tool's host process sees it: the statement
// service reached the way a host reaches it, by creating the bank object and
// asking its services collection for the service by name. The bank object
// comes from the module's registration, or from a DLL given by its path.
#pragma once

#include "ResourceHolders.h"

#include <MavrinTorvVantryNewFormat.h>

#include <string>

class ModuleSession {
public:
    // An empty path uses the registered module. Throws std::runtime_error
    // naming what could not be done.
    explicit ModuleSession(const std::wstring& modulePath);

    ComPtr<IBankStatementService> StatementService() const;

private:
    ComPtr<IBank> CreateBank() const;

    ModuleHandle m_module;
};
