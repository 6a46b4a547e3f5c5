// Texts the host got otherwise than the file writes them: a character
// replaced (bytes that are not UTF-8 in a file read as UTF-8, a character
// the record's 3-byte type code cuts), and lines that look like UTF-8 in a
// file read in the ANSI code page. Each is said on its line and in a
// warning, and --strict fails. A header saved with its fields quoted is
// said to be the header.
#include "ReportTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";
const std::string kHeader = "Transaction history,Orvale Online For Business\r\n";
const std::string kUtf8Lines =
    "The file was read in the ANSI code page (" + std::to_string(GetACP()) +
    " here), as not all of its bytes are UTF-8, but 2 lines look like UTF-8, and their texts were read in that code "
    "page, not as UTF-8: lines 2, 4.";
const std::string kReplacedIn =
    " imported with a character replaced (bytes that do not read in the file's encoding, or a character cut where "
    "the record keeps only the first 3 bytes of the type code): ";
const std::string kNotUtf8 = " was replaced by U+FFFD: it has bytes that are not UTF-8";

std::string Line(const std::string& description, const std::string& typeCode, const char* account = "12345678") {
    return "03/11/2026," + typeCode + ",12-34-56," + account + "," + description + ",1.00,,\r\n";
}

TEST(TextsNotAsWritten, EachIsSaidOnItsLineAndInAWarning) {
    ASSERT_NE(static_cast<UINT>(CP_UTF8), GetACP());
    const struct {
        const char* name;
        std::string statement;
        std::vector<std::string> described;  // Describe of each line of the file
        std::string warning;                  // empty: none of these warnings
    } cases[] = {
        {"a byte that is not UTF-8 after the byte-order mark", kByteOrderMark + kHeader + Line("CAF\xA3", "DD"),
         {"line 1: header, skipped", "line 2: imported as statement line 1; a character of its description" + kNotUtf8},
         "1 line was" + kReplacedIn + "line 2 (description)."},
        {"a type code cut inside an emoji (the line that decides the layout has a short one)",
         kByteOrderMark + kHeader + Line("PAYEE", "DD") + Line("PAYEE", "\xF0\x9F\x98\x80"),
         {"line 1: header, skipped", "line 2: imported as statement line 1",
          "line 3: imported as statement line 2; a character of its reference was replaced: the record keeps only the "
          "type code's first 3 bytes, which cut a character in two"},
         "1 line was" + kReplacedIn + "line 3 (reference)."},
        {"a type code that is not UTF-8, and a cheque number that is not",
         kByteOrderMark + kHeader + Line("PAYEE", "\xA3" "A") + Line("12\xA3", "CHQ"),
         {"line 1: header, skipped", "line 2: imported as statement line 1; a character of its reference" + kNotUtf8,
          "line 3: imported as statement line 2; a character of its description" + kNotUtf8 +
              "; a character of its reference" + kNotUtf8},
         "2 lines were" + kReplacedIn + "lines 2 (reference), 3 (description and reference)."},
        {"UTF-8 without the byte-order mark", kHeader + Line("CAF\xC3\x89", "\xC3\x89"),
         {"line 1: header, skipped", "line 2: imported as statement line 1"}, ""},
        {"UTF-8 lines in a file read in the ANSI code page",
         kHeader + Line("CAF\xC3\x89", "DD") + Line("\xA3" "5", "DD") + Line("\xE2\x80\x93", "DD", "87654321"),
         {"line 1: header, skipped",
          "line 2: imported as statement line 1; it looks like UTF-8, but the file was read in the ANSI code page",
          "line 3: imported as statement line 2",
          "line 4: passed over: another account (sort code \"12-34-56\" and account \"87654321\"; the host's are sort "
          "code \"123456\" and account \"12345678\"); it looks like UTF-8, but the file was read in the ANSI code page"},
         kUtf8Lines},
        {"a header saved with its fields quoted",
         "\"Transaction history\",\"Orvale Online For Business\",\"Business Current Account\"\r\n" + Line("PAYEE", "DD"),
         {"line 1: header, skipped", "line 2: imported as statement line 1"}, ""},
        {"a quoted title that is no header", "\"Transactions\",\"Orvale\"\r\n" + Line("PAYEE", "DD"),
         {"line 1: passed over: 2 fields, not 8 (the second line decided the layout)",
          "line 2: imported as statement line 1"},
         "line 1 passed over: 2 fields, not 8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchFile file(c.statement);
        StatementAccount account;
        account.SetAccountNumber(L"12345678");
        account.SetSortCode(L"12-34-56");
        const reference_host::StatementLineRecords noLines;
        std::vector<std::string> described;
        LinesForReport shown;
        const ImportReview review = ReviewImport(file.Path(), account, noLines, [&](const ExplainedLine& line) {
            described.push_back(Describe(line));
            shown.Add(line);
        });
        EXPECT_EQ(c.described, described);
        // The report's words for an imported line are its notes alone.
        for (std::size_t index = 0; index < described.size(); ++index) {
            const std::string& words = shown.Lines()[index].words;
            EXPECT_TRUE(words.empty() || described[index].find(words) != std::string::npos) << words;
        }
        const std::vector<std::string> warnings = Warnings(review);
        for (const std::string& warning : warnings) {
            const bool ours = warning.find("character replaced") != std::string::npos ||
                              warning.find("like UTF-8") != std::string::npos ||
                              warning.rfind("line 1 passed over", 0) == 0;
            EXPECT_TRUE(!ours || warning == c.warning) << warning;
        }
        EXPECT_EQ(!c.warning.empty(), std::find(warnings.begin(), warnings.end(), c.warning) != warnings.end());
    }
}

}  // namespace
