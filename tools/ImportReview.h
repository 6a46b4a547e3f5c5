// What the tool says after an import about the statement file itself, from
// the import's own walk of it: what became of every line (--explain), what
// the host did not get, and whether the running balance adds up.
//
// Nothing is kept per line but the running balance's small chain: the
// explanation is written as the file is walked again, once the balance
// check knows where the chain breaks.
#pragma once

#include "LossSummary.h"
#include "RunningBalance.h"
#include "StatementExplainer.h"

#include <ostream>

struct ImportReview {
    bool recognised = false;
    LossSummary losses;
    BalanceCheck balance;
};

// Walks the file at `path` (narrow, ANSI code page) as the import did.
ImportReview ReviewImport(const char* path, const StatementAccount& account);

// Walks the file again and writes, a line each as it goes, how it was
// recognised and what became of every line; a line where the running
// balance breaks says so.
void WriteExplanation(std::ostream& out, const char* path, const StatementAccount& account,
                      const BalanceCheck& balance);

// The losses, then, for a recognised file, the running balance, a line each.
void WriteReview(std::ostream& out, const ImportReview& review);
