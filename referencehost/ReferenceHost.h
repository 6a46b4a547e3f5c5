// Everything a test or the tool needs of the reference host: the scenario
// (settings, failure plan, call log, live counts), the six host objects and
// the registration of the two creatable classes.
//
//   auto scenario = reference_host::Scenario::Create();
//   scenario->settings.sortCode = L"12-34-56";
//   scenario->settings.accountNumber = L"12345678";
//   scenario->settings.chosenFile = L"Z:\\path\\statement.csv";
//   scenario->failures.Inject("StatementLine", "put_Amount", {E_FAIL, L"No amount", 2});
//   reference_host::ClassRegistration registration(scenario);  // COM initialised on this thread
//   auto reconciliation = scenario->CreateReconciliation();
//   auto statement = scenario->CreateStatement();
//   service->ImportStatement(reconciliation.Get(), statement.Get());
//   scenario->log.Operations();  // {"FileChooser.CreateInstance", ...}
//   statement->Lines();          // the values of each line, in order of AddLine
//   scenario->LiveObjects();     // 0 once every holder is released
#pragma once

#include "CallValues.h"
#include "ClassRegistration.h"
#include "CompactStatement.h"
#include "HostOptionsBlock.h"
#include "HostBankAccount.h"
#include "HostBankSetup.h"
#include "HostFileChooser.h"
#include "HostReconciliation.h"
#include "HostStatement.h"
#include "HostStatementLine.h"
#include "Scenario.h"
