// What became of every physical line of a statement file in an import, for
// people whose statement did not import as they expected. It walks the file
// with the reading code the module itself uses (the line reader, the header
// test, the record parser, the account and amount tests), so its "imported"
// lines are the lines the host receives.
#pragma once

#include "StatementAccount.h"

#include <string>
#include <vector>

enum class LineFate { HeaderSkipped, Imported, OtherAccount, NoAmount, NotATransaction, NotRead };

struct ExplainedLine {
    int lineNumber = 0;  // physical line of the file, from 1
    LineFate fate = LineFate::NotRead;
    std::string reason;  // the details people need to see
    // For imported lines: the statement line's number and values.
    long statementLine = 0;
    long direction = 0;
    double amount = 0.0;
    double date = 0.0;
};

struct StatementExplanation {
    bool recognised = false;
    int layout = 0;
    std::string recognition;  // which layout, or why the file was not recognised
    std::vector<ExplainedLine> lines;
};

// `path` is narrow text in the ANSI code page.
StatementExplanation ExplainStatement(const char* path, const StatementAccount& account);

std::string Describe(const ExplainedLine& line);
