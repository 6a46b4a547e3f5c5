// Runs imports through the real DLL against the reference host: a scenario
// with the host's two creatable classes registered, a statement service
// made through the module's class object, and the fixture to "choose".
#pragma once

#include "ModuleUnderTest.h"
#include "ReferenceHost.h"

#include <MavrinTorvVantryNewFormat.h>

#include <optional>
#include <string>
#include <vector>

std::wstring FixturePath(const char* name);

class ImportTest : public ModuleTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Imports with a new reconciliation and a new statement (kept in `statement`).
    HRESULT Import(const char* fixture);
    void SetAccount(const wchar_t* sortCode, const wchar_t* accountNumber);
    std::vector<std::string> Descriptions() const;
    long Cancelled() const;
    // The options block the module handed to the file chooser in the last
    // import, and the recognizer in its first field.
    reference_host::OptionsBlock OptionsGivenToChooser() const;
    FileRecognizer RecognizerGivenToChooser() const;

    std::shared_ptr<reference_host::Scenario> scenario = reference_host::Scenario::Create();
    std::optional<reference_host::ClassRegistration> registration;
    ComPtr<IBankStatementService> service;
    ComPtr<reference_host::HostStatement> statement;
};
