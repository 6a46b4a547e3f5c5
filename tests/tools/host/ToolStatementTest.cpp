// The tool's statement keeps of every line what the recording statement
// (CompactStatement) keeps, whatever is put and whatever the module imports;
// it makes one line object for a whole import, a line still held keeps its
// own line, a line held over a Clear sets nothing, and every object goes.
#include "ComTestSupport.h"
#include "ImportHarness.h"
#include "ToolStatement.h"

#include <string>
#include <vector>

namespace {

using reference_host::CompactStatement;
using reference_host::MakeObject;

void ExpectSameLines(const HostLines& expected, const HostLines& kept) {
    ASSERT_EQ(expected.Size(), kept.Size());
    for (size_t index = 0; index < kept.Size(); ++index) {
        SCOPED_TRACE(index);
        const HostLine want = expected[index], got = kept[index];
        EXPECT_EQ(want.number, got.number);
        EXPECT_EQ(want.numberText, got.numberText);
        EXPECT_EQ(want.direction, got.direction);
        EXPECT_EQ(want.amount, got.amount);
        EXPECT_EQ(want.date, got.date);
        EXPECT_EQ(want.description, got.description);
        EXPECT_EQ(want.reference, got.reference);
    }
}

// What one line is given; a null text puts a null BSTR, an empty number list puts none.
struct PutLine {
    std::vector<VARIANT> numbers;
    long direction;
    std::vector<const wchar_t*> descriptions;
    const wchar_t* reference;
};

VARIANT WholeNumber(long value) {
    VARIANT number = {};
    V_VT(&number) = VT_I4;
    V_I4(&number) = value;
    return number;
}

VARIANT RealNumber(double value) {
    VARIANT number = {};
    V_VT(&number) = VT_R8;
    V_R8(&number) = value;
    return number;
}

void Put(IHostStatementLine* line, const PutLine& values) {
    for (VARIANT number : values.numbers) EXPECT_EQ(line->put_Number(&number), S_OK);
    EXPECT_EQ(line->put_Direction(values.direction), S_OK);
    EXPECT_EQ(line->put_Amount(12.5), S_OK);
    EXPECT_EQ(line->put_Date(46297.0), S_OK);
    EXPECT_EQ(line->put_Payee(BStr(L"not kept").Get()), S_OK);
    for (const wchar_t* description : values.descriptions)
        EXPECT_EQ(line->put_Description(description ? BStr(description).Get() : nullptr), S_OK);
    if (values.reference) {
        EXPECT_EQ(line->put_Reference(BStr(values.reference).Get()), S_OK);
    }
}

void PutAll(IHostStatement* statement, const std::vector<PutLine>& lines) {
    for (const PutLine& values : lines) {
        ComPtr<IHostStatementLine> line;
        ASSERT_EQ(statement->AddLine(line.Put()), S_OK);
        Put(line.Get(), values);
    }
}

using ToolStatementTest = ImportTest;

TEST_F(ToolStatementTest, KeepsWhatTheRecordingStatementKeeps) {
    const std::wstring longText(70 * 1024, L'\x00e9');  // longer than a block of texts
    const wchar_t loneSurrogate[] = {L'A', 0xD800, L'B', 0};
    const std::vector<PutLine> lines = {
        {{WholeNumber(1)}, 0, {L"ORVALE ENERGY"}, L"DD"},
        {{WholeNumber(2)}, 1, {L"001042", L"CHQ 001042"}, L"001042"},  // a cheque's description is put twice
        {{WholeNumber(-3)}, 7, {nullptr}, nullptr},                    // null stays null, unset reads "<null>"
        {{WholeNumber(4)}, 1, {longText.c_str()}, L""},
        {{RealNumber(5.5)}, 0, {L"CAF\x00c9 \x202e", loneSurrogate}, L"\xff1d" L"1"},
        {{}, 0, {L"no number put"}, L"SO"},
        {{RealNumber(6), WholeNumber(6)}, 0, {L"a number put again"}, L"SO"},
    };
    const auto compact = scenario->CreateCompactStatement();
    const auto tool = MakeObject<ToolStatement>(scenario);
    PutAll(compact.Get(), lines);
    PutAll(tool.Get(), lines);
    ExpectSameLines(compact->Lines(), *tool->Lines());
    LONG count = 0;
    EXPECT_EQ(tool->get_Count(&count), S_OK);
    EXPECT_EQ(count, static_cast<LONG>(lines.size()));
    EXPECT_EQ(scenario->LiveObjects(), 3);  // the two statements and the tool's one line object
}

TEST_F(ToolStatementTest, AHeldLineKeepsItsLineAndALineHeldOverAClearSetsNothing) {
    auto statement = MakeObject<ToolStatement>(scenario);
    ComPtr<IHostStatementLine> first, second;
    ASSERT_EQ(statement->AddLine(first.Put()), S_OK);
    ASSERT_EQ(statement->AddLine(second.Put()), S_OK);
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_EQ(RefCount(first.Get()), 1u);   // the statement keeps only the last
    EXPECT_EQ(RefCount(second.Get()), 2u);
    EXPECT_EQ(first->put_Description(BStr(L"first").Get()), S_OK);
    EXPECT_EQ(second->put_Description(BStr(L"second").Get()), S_OK);
    ASSERT_EQ(statement->Lines()->Size(), 2u);
    EXPECT_EQ((*statement->Lines())[0].description, "first");
    EXPECT_EQ((*statement->Lines())[1].description, "second");

    EXPECT_EQ(statement->Clear(), S_OK);
    ComPtr<IHostStatementLine> added;
    ASSERT_EQ(statement->AddLine(added.Put()), S_OK);
    EXPECT_EQ(first->put_Description(BStr(L"from before the clear").Get()), S_OK);
    EXPECT_EQ(second->put_Amount(1.0), S_OK);
    EXPECT_EQ(added->put_Description(BStr(L"after it").Get()), S_OK);
    ASSERT_EQ(statement->Lines()->Size(), 1u);
    EXPECT_EQ((*statement->Lines())[0].description, "after it");
    EXPECT_EQ((*statement->Lines())[0].amount, 0.0);

    statement.Reset();
    added.Reset();
    EXPECT_EQ(first->put_Amount(2.0), S_OK);  // a line outlives its statement
    first.Reset();
    second.Reset();
    EXPECT_EQ(scenario->LiveObjects(), 0);
}

TEST_F(ToolStatementTest, ImportsKeepTheLinesTheRecordingStatementKeeps) {
    const char* const fixtures[] = {"import_statement.csv",     "utf8_texts.csv",           "ansi_texts.csv",
                                    "utf8_then_ansi_texts.csv", "bom_import_statement.csv", "cut_identifiers.csv",
                                    "newest_first_balance_break.csv"};
    SetAccount(L"12-34-56", L"12345678");
    for (const char* fixture : fixtures) {
        SCOPED_TRACE(fixture);
        scenario->settings.chosenFile = FixturePath(fixture);
        const auto reconciliation = scenario->CreateReconciliation();
        const auto compact = scenario->CreateCompactStatement();
        const auto tool = MakeObject<ToolStatement>(scenario);
        ASSERT_EQ(service->ImportStatement(reconciliation.Get(), compact.Get()), S_OK);
        ASSERT_EQ(service->ImportStatement(reconciliation.Get(), tool.Get()), S_OK);
        EXPECT_GT(tool->Lines()->Size(), 0u);
        ExpectSameLines(compact->Lines(), *tool->Lines());
        // The reconciliation and its bank account, the two statements and one line object.
        EXPECT_EQ(scenario->LiveObjects(), 5);
    }
}

}  // namespace
