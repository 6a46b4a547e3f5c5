// The compact statement keeps what a host statement's lines are given, in
// order of AddLine, after the line objects are gone; a line held over a
// Clear sets nothing; reference counts and live objects return to their start.
#include "HostTestSupport.h"

#include <string>
#include <vector>

namespace reference_host {
namespace {

class CompactStatementTest : public HostTest {};

// What a line is given: the texts are put in turn, the last one stays.
struct PutLine {
    long number;
    long direction;
    double amount;
    DATE date;
    std::vector<const wchar_t*> descriptions;  // null puts a null BSTR
    const wchar_t* reference;
};

void Put(IHostStatementLine* line, const PutLine& values) {
    Variant number;
    V_VT(number.Get()) = VT_I4;
    V_I4(number.Get()) = values.number;
    EXPECT_EQ(line->put_Number(number.Get()), S_OK);
    EXPECT_EQ(line->put_Direction(values.direction), S_OK);
    EXPECT_EQ(line->put_Amount(values.amount), S_OK);
    EXPECT_EQ(line->put_Date(values.date), S_OK);
    EXPECT_EQ(line->put_Memo(BStr(L"not kept").Get()), S_OK);
    for (const wchar_t* description : values.descriptions)
        EXPECT_EQ(line->put_Description(description ? BStr(description).Get() : nullptr), S_OK);
    if (values.reference) {
        EXPECT_EQ(line->put_Reference(BStr(values.reference).Get()), S_OK);
    }
}

TEST_F(CompactStatementTest, KeepsTheValuesOfReleasedLinesInOrder) {
    const std::wstring longText(70 * 1024, L'\x00e9');  // longer than a block of texts, two bytes each in UTF-8
    const PutLine cases[] = {
        {1, 0, 82.4, 46297.0, {L"ORVALE ENERGY"}, L"DD"},
        {2, 1, 1250.0, 46300.0, {L"001042", L"CHQ 001042"}, L"001042"},  // a cheque's description is put twice
        {3, 0, 0.5, 0.0, {nullptr}, nullptr},                            // null stays null, unset reads "<null>"
        {4, 1, 12.5, 46301.0, {longText.c_str()}, L""},
    };
    ComPtr<CompactStatement> statement = scenario->CreateCompactStatement();
    for (const PutLine& values : cases) {
        ComPtr<IHostStatementLine> line;
        ASSERT_EQ(statement->AddLine(line.Put()), S_OK);
        Put(line.Get(), values);
        EXPECT_EQ(RefCount(line.Get()), 1u);  // the statement keeps no line object
    }
    EXPECT_EQ(scenario->LiveObjects(), 1);

    const StatementLineRecords& lines = statement->Lines();
    ASSERT_EQ(lines.Size(), 4u);
    LONG count = 0;
    EXPECT_EQ(statement->get_Count(&count), S_OK);
    EXPECT_EQ(count, 4);
    const std::string longUtf8 = TextOf(BStr(longText.c_str()).Get());
    const StatementLineValues expected[] = {
        {"VT_I4 1", 0, 82.4, 46297.0, "ORVALE ENERGY", "DD"},
        {"VT_I4 2", 1, 1250.0, 46300.0, "CHQ 001042", "001042"},
        {"VT_I4 3", 0, 0.5, 0.0, kNullText, kNullText},
        {"VT_I4 4", 1, 12.5, 46301.0, longUtf8, ""},
    };
    for (size_t index = 0; index < lines.Size(); ++index) {
        const StatementLineView line = lines[index];
        EXPECT_EQ(LoggedNumber(line), expected[index].number) << index;
        EXPECT_EQ(line.direction, expected[index].direction) << index;
        EXPECT_EQ(line.amount, expected[index].amount) << index;
        EXPECT_EQ(line.date, expected[index].date) << index;
        EXPECT_EQ(line.description, expected[index].description) << index;
        EXPECT_EQ(line.reference, expected[index].reference) << index;
    }
    statement.Reset();
    EXPECT_EQ(scenario->LiveObjects(), 0);
}

TEST_F(CompactStatementTest, ALineHeldOverAClearSetsNothingAndOutlivesTheStatement) {
    ComPtr<CompactStatement> statement = scenario->CreateCompactStatement();
    ComPtr<IHostStatementLine> held;
    ASSERT_EQ(statement->AddLine(held.Put()), S_OK);
    EXPECT_EQ(statement->Clear(), S_OK);
    ComPtr<IHostStatementLine> added;
    ASSERT_EQ(statement->AddLine(added.Put()), S_OK);
    EXPECT_EQ(held->put_Description(BStr(L"from before the clear").Get()), S_OK);
    EXPECT_EQ(added->put_Description(BStr(L"after it").Get()), S_OK);

    ASSERT_EQ(statement->Lines().Size(), 1u);
    EXPECT_EQ(statement->Lines()[0].description, "after it");
    EXPECT_EQ(scenario->LiveObjects(), 3);
    statement.Reset();
    added.Reset();
    EXPECT_EQ(held->put_Amount(1.0), S_OK);
    held.Reset();
    EXPECT_EQ(scenario->LiveObjects(), 0);
}

}  // namespace
}  // namespace reference_host
