// Writing the statement lines the host received as a table for people, as
// CSV or as JSON. Texts are UTF-8. The JSON form also carries each line's
// balance from the file and the running balance check.
#pragma once

#include "CommandLine.h"
#include "HostStatementLine.h"
#include "RunningBalance.h"

#include <ostream>
#include <vector>

void WriteLines(std::ostream& out, OutputFormat format, const std::vector<reference_host::StatementLineValues>& lines,
                const BalanceCheck& balance);

// The shortest decimal text that reads back as the same double: 12.5, 100.
std::string ShortestDecimal(double value);
// YYYY-MM-DD of an OLE Automation date; empty for 0.
std::string IsoDate(DATE date);
