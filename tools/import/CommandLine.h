// The command line of the import tool.
#pragma once

#include "OutputFormat.h"

#include <optional>
#include <string>

struct ImportOptions {
    std::wstring file;  // the statement file, as Windows sees it
    std::optional<std::wstring> sortCode;
    std::optional<std::wstring> accountNumber;
    OutputFormat format = OutputFormat::Table;
    bool diagnostics = false;
    bool explain = false;
    bool strict = false;
    std::wstring modulePath;  // a module DLL to load; empty: the registered module
    std::optional<std::wstring> reportPath;  // --report: where to write the HTML report
};

struct ParsedCommandLine {
    bool ok = false;
    bool help = false;
    std::string error;
    ImportOptions options;
};

ParsedCommandLine ParseCommandLine(int argc, wchar_t** argv);

extern const char kUsage[];
