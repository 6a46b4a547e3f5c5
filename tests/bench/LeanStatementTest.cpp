// The lean statement the benchmark imports into: it must receive what the
// reference statement receives, or the benchmark would time an import that
// did not happen. Its count is the reference's; its checksum is the same for
// the same lines and changes with them.
#include "ImportHarness.h"
#include "LeanStatement.h"

#include <gtest/gtest.h>

using reference_host::LeanStatement;
using reference_host::MakeObject;

TEST_F(ImportTest, LeanStatementCountsAndChecksumsWhatItReceives) {
    SetAccount(L"12-34-56", L"12345678");
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    const long received = static_cast<long>(statement->Lines().size());
    const auto lean = MakeObject<LeanStatement>(scenario);
    const auto reconciliation = scenario->CreateReconciliation();
    ASSERT_EQ(S_OK, service->ImportStatement(reconciliation.Get(), lean.Get()));
    const reference_host::LeanTally first = lean->Tally();
    EXPECT_EQ(received, first.lines);
    LONG count = 0;
    EXPECT_EQ(S_OK, lean->get_Count(&count));
    EXPECT_EQ(received, count);

    ASSERT_EQ(S_OK, service->ImportStatement(reconciliation.Get(), lean.Get()));
    EXPECT_EQ(first.lines, lean->Tally().lines) << "each import starts afresh";
    EXPECT_EQ(first.checksum, lean->Tally().checksum);

    SetAccount(L"65-43-21", L"87654321");  // the file's other account: other lines
    ASSERT_EQ(S_OK, service->ImportStatement(reconciliation.Get(), lean.Get()));
    EXPECT_NE(first.checksum, lean->Tally().checksum);
}
