// What a host statement line gets from a record, the one description the
// import and the preview tool share: each kind of line's values, and the
// comparison of a type code with "CHQ", made without a BSTR where it can
// be, giving what IsChequeTypeCode gives of the code's BSTR.
#include "HostLineValues.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A record read from one date-first line.
struct RecordOfLine {
    RecordOfLine(const std::string& typeCode, const std::string& description, const char* money) {
        const std::string line = "03/11/2011," + typeCode + ",12-34-56,12345678," + description + "," + money;
        std::strncpy(text, line.c_str(), sizeof text - 1);
        record.Reset(kDateFirstLayout);
        record.ParseLine(text);
    }
    LineBuffer text = {};
    CTransactionRecord record;
};

TEST(HostLineValues, EachKindOfLineGetsItsValues) {
    const struct {
        const char* typeCode;
        const char* description;
        const char* money;
        long direction;
        double amount;
        bool cheque;
        const char* shownDescription;
        const char* reference;
    } cases[] = {
        {"DD", "ENERGY", "45.20,,954.80", 0, 45.2, false, "ENERGY", "DD"},
        {"FPI", "SALARY", ",100.00,1054.80", 1, 100.0, false, "SALARY", "FPI"},
        {"CHQ", "123", "45.20,,954.80", 0, 45.2, true, "CHQ 000123", "000123"},
        {"CHQ", "1234567", "45.20,,954.80", 0, 45.2, true, "CHQ 1234567", "1234567"},
        {"CHQ", "", ",5.00,959.80", 1, 5.0, true, "CHQ 000000", "000000"},
        {"chq", "9", "45.20,,954.80", 0, 45.2, false, "9", "chq"},
    };
    for (const FileEncoding encoding : {FileEncoding::Ansi, FileEncoding::Utf8}) {
        HostLineTextsReader reader(encoding);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.typeCode) + " " + c.description);
            const RecordOfLine line(c.typeCode, c.description, c.money);
            EXPECT_EQ(c.direction, HostLineDirectionOf(line.record));
            EXPECT_EQ(c.amount, HostLineAmountOf(line.record));
            const HostLineTexts texts = reader.Of(line.record);
            EXPECT_EQ(c.cheque, texts.cheque);
            EXPECT_EQ(c.shownDescription, texts.description);
            EXPECT_EQ(c.reference, texts.reference);
        }
    }
}

TEST(HostLineValues, ChequeIsWhatTheComparisonOfTheBstrSays) {
    const char* const typeCodes[] = {"CHQ", "CH",  "C",          "chq",      "CHQQ",
                                     "QHC", "CH ", "\xC3\x87HQ", "\xA0HQ", "\xEF\xBC\xA3"};
    for (const FileEncoding encoding : {FileEncoding::Ansi, FileEncoding::Utf8}) {
        HostLineTextsReader reader(encoding);
        FileTextConverter texts(encoding);
        for (const char* typeCode : typeCodes) {
            const RecordOfLine line(typeCode, "1", "1.00,,1.00");
            EXPECT_EQ(IsChequeTypeCode(texts.ToBstr(line.record.GetTypeCode())), reader.Of(line.record).cheque)
                << typeCode;
        }
    }
}

}  // namespace
