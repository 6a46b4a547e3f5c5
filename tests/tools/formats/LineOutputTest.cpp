// The host's lines as the tool writes them, in each format: every cell as
// the format shows it, the table's widths and the CSV's quoting.
#include "LineOutput.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct Given {
    long number;
    const char* numberText;  // a number put as another type than VT_I4, or null
    long direction;
    double amount;
    DATE date;
    const char* description;
    const char* reference;
};

void Keep(HostLines& lines, const Given& given) {
    const HostLines::Slot slot = lines.Add();
    if (given.numberText)
        lines.SetNumberText(slot, given.numberText);
    else
        lines.SetNumber(slot, given.number);
    lines.SetDirection(slot, given.direction);
    lines.SetAmount(slot, given.amount);
    lines.SetDate(slot, given.date);
    lines.SetText(slot, HostLines::Text::Description, given.description);
    lines.SetText(slot, HostLines::Text::Reference, given.reference);
}

std::string Written(OutputFormat format, const HostLines& lines) {
    std::ostringstream out;
    WriteLines(out, format, lines, ImportReview());
    return out.str();
}

TEST(LineOutput, EachFormatWritesTheCellsItShows) {
    HostLines lines;
    for (const Given& given : {Given{1, nullptr, 0, 45.2, 40850, "SUPPLIER, LTD", "FPO"},
                               Given{2, nullptr, -1, 100, 0, "say \"hi\"", "=1"},
                               Given{0, "VT_BSTR 1,2", 1, 1e21, 2958465, "CAF\xC3\x89", "\x1B[2J"}})
        Keep(lines, given);

    EXPECT_EQ(Written(OutputFormat::Csv, lines),
              "number,direction,amount,date,description,reference\n"
              "1,debit,45.2,2011-11-03,\"SUPPLIER, LTD\",FPO\n"
              "2,'-1,100,,\"say \"\"hi\"\"\",'=1\n"
              "\"VT_BSTR 1,2\",credit,1e+21,9999-12-31,CAF\xC3\x89,\x1B[2J\n");
    EXPECT_EQ(Written(OutputFormat::Table, lines),
              "         No  Direction  Amount  Date        Description    Reference\n"
              "          1  debit       45.20  2011-11-03  SUPPLIER, LTD  FPO\n"
              "          2  -1         100.00              say \"hi\"       =1\n"
              "VT_BSTR 1,2  credit      1e+21  9999-12-31  CAF\xC3\x89           \\x1B[2J\n");
    const std::string json = Written(OutputFormat::Json, lines);
    for (const char* part :
         {"{\"number\": 1, \"direction\": \"debit\", \"amount\": 45.2, \"date\": \"2011-11-03\", \"description\": "
          "\"SUPPLIER, LTD\", \"reference\": \"FPO\", \"date_value\": 40850, \"balance\": null}",
          "\"direction\": \"-1\", \"amount\": 100, \"date\": \"\", \"description\": \"say \\\"hi\\\"\"",
          "{\"number\": VT_BSTR 1,2, \"direction\": \"credit\", \"amount\": 1e+21, \"date\": \"9999-12-31\", "
          "\"description\": \"CAF\xC3\x89\", \"reference\": \"\\u001b[2J\", \"date_value\": 2958465"})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
}

}  // namespace
