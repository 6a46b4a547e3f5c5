// The tool's outputs after the module's import, put together: the statement
// lines the host received on standard output, in the format asked for; on
// standard error how many, whether the file was recognised, what became of
// its lines (--explain) and what the host did not get; the HTML report
// (--report); and the exit status.
#pragma once

#include "CommandLine.h"
#include "HostLines.h"
#include "ReferenceHost.h"
#include "ToolStatement.h"

#include <MavrinTorvVantryNewFormat.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>

enum ExitCode { kImported = 0, kFailed = 1, kWrongUse = 2, kNotRecognised = 3, kLinesLost = 4 };

// What the host saw of an import.
struct HostOutcome {
    std::shared_ptr<const HostLines> lines;
    // The title the module's recognizer gave the host's file chooser when
    // it recognised the file.
    std::optional<std::string> recognizerTitle;
    bool cancelled = false;
};

// The host's side of an import into `statement` by `service`: its lines,
// the recognizer's answer from the call log (which must keep the
// FileChooser's Recognizer calls) and whether the import was cancelled.
HostOutcome HostOutcomeOf(const reference_host::Scenario& scenario, const ToolStatement& statement,
                          IBankStatementService* service);

// Reviews the import of `options.file` that gave `host` and writes what the
// tool says of it. Returns the exit status: kNotRecognised, kLinesLost or kImported.
int WriteImportOutputs(const ImportOptions& options, const HostOutcome& host, std::ostream& out, std::ostream& err);
