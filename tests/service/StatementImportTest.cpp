// Statement imports through the real DLL, with the reference host playing
// the host: what reaches the host statement, in which order the host is
// called, and what happens when the host or the file misbehaves.
#include "ImportHarness.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <tuple>

namespace {

using reference_host::Outcome;
using Lines = std::vector<std::string>;

constexpr HRESULT kSystemError = static_cast<HRESULT>(0x800AFFFF);
constexpr DATE k3November2011 = 40850;
// CAFÉ NOIR – MÜLLER £12 in UTF-8, as the host receives it from either encoding.
constexpr const char* kNoirMuller = "CAF\xC3\x89 NOIR \xE2\x80\x93 M\xC3\x9CLLER \xC2\xA3" "12";

using StatementImportTest = ImportTest;

TEST_F(StatementImportTest, ImportsTheAccountsLinesThatCarryAnAmount) {
    SetAccount(L"12-34-56", L"12345678");
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    EXPECT_EQ(0, Cancelled());
    const auto lines = statement->Lines();
    ASSERT_EQ(6u, lines.size());
    const struct {
        const char* number;
        long direction;
        double amount;
        const char* description;
        const char* reference;
    } expected[] = {
        {"VT_I4 1", 0, 45.2, "ORVALE ENERGY REF 4471", "DD"},
        {"VT_I4 2", 0, 1250.0, "CHQ 000042", "000042"},
        {"VT_I4 3", 0, 3.0, "CHQ 1234567", "1234567"},
        {"VT_I4 4", 0, 4.0, "77", "chq"},
        {"VT_I4 5", 1, 2500.0, "PAYROLL", "BGC"},
        {"VT_I4 6", 0, 12.5, "SUPPLIER, LTD", "FPO"},
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(expected[i].description);
        EXPECT_EQ(expected[i].number, lines[i].number);
        EXPECT_EQ(expected[i].direction, lines[i].direction);
        EXPECT_DOUBLE_EQ(expected[i].amount, lines[i].amount);
        EXPECT_EQ(expected[i].description, lines[i].description);
        EXPECT_EQ(expected[i].reference, lines[i].reference);
    }
    EXPECT_EQ(k3November2011, lines[0].date);
    EXPECT_EQ(0.0, statement->Balance());
}

// A statement saved again by a spreadsheet program starts with a UTF-8
// byte-order mark; the host receives the same lines as without it, in both
// layouts, with and without a header.
TEST_F(StatementImportTest, ByteOrderMarkAtTheStartChangesNothingTheHostReceives) {
    using Row = std::tuple<std::string, long, double, DATE, std::string, std::string>;
    const auto rows = [this] {
        std::vector<Row> received;
        for (const auto& l : statement->Lines())
            received.emplace_back(l.number, l.direction, l.amount, l.date, l.description, l.reference);
        return received;
    };
    const struct {
        const char* withMark;
        const char* without;
        size_t lines;
    } cases[] = {{"bom_import_statement.csv", "import_statement.csv", 6},
                 {"bom_date_first_header_crlf.csv", "date_first_header_crlf.csv", 4},
                 {"bom_date_first_no_header_crlf.csv", "date_first_header_crlf.csv", 4},
                 {"bom_account_first_header.csv", "account_first_lf_no_final_newline.csv", 2},
                 {"bom_account_first_no_header.csv", "account_first_lf_no_final_newline.csv", 2}};
    SetAccount(L"12-34-56", L"12345678");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.withMark);
        ASSERT_EQ(S_OK, Import(c.without));
        const std::vector<Row> expected = rows();
        ASSERT_EQ(c.lines, expected.size());
        ASSERT_EQ(S_OK, Import(c.withMark));
        EXPECT_EQ(0, Cancelled());
        EXPECT_EQ(expected, rows());
        EXPECT_EQ("1, Orvale Online For Business - Statement",
                  scenario->log.Calls("FileChooser", "Recognizer").back().value);
    }
}

TEST_F(StatementImportTest, HostCallsComeInTheirFixedOrder) {
    SetAccount(L"12-34-56", L"12345678");
    ASSERT_EQ(S_OK, Import("import_accounts.csv"));
    auto operations = scenario->log.Operations();
    operations.erase(std::remove_if(operations.begin(), operations.end(),
                                    [](const std::string& op) { return op.find("InterfaceSupportsErrorInfo") != std::string::npos; }),
                     operations.end());
    const Lines firstLine = {"Statement.AddLine",           "StatementLine.put_Number",      "StatementLine.put_Direction",
                             "StatementLine.put_Amount",    "StatementLine.put_Date",        "StatementLine.put_Description",
                             "StatementLine.put_Reference"};
    Lines expected = {"FileChooser.CreateInstance",  "BankSetup.CreateInstance",        "BankSetup.GetFileOptions",
                      "FileChooser.SetOptions",      "FileChooser.Show",                "FileChooser.Recognizer",
                      "FileChooser.get_FileName",    "Statement.Clear",                 "Statement.put_Balance",
                      "Reconciliation.get_BankAccount", "BankAccount.get_AccountNumber", "BankAccount.get_SortCode"};
    expected.insert(expected.end(), firstLine.begin(), firstLine.end());
    ASSERT_GE(operations.size(), expected.size());
    EXPECT_EQ(expected, Lines(operations.begin(), operations.begin() + static_cast<long>(expected.size())));
    EXPECT_EQ("0", scenario->log.Calls("Statement", "put_Balance").at(0).value);
    EXPECT_EQ("1, Orvale Online For Business - Statement", scenario->log.Calls("FileChooser", "Recognizer").at(0).value);
}

TEST_F(StatementImportTest, AccountNumbersMatchInEitherWrittenForm) {
    const struct {
        const wchar_t* sortCode;
        const wchar_t* accountNumber;
        Lines imported;
    } cases[] = {
        {L"12-34-56", L"12345678", {"EIGHT DIGITS", "NO DASHES"}},
        {L"12-34-56", L"01234567", {"LEADING ZERO", "SEVEN DIGITS"}},
        {L"12-34-56", L"1234567", {"LEADING ZERO", "SEVEN DIGITS"}},
        {L"123456", L"12345678", {"EIGHT DIGITS", "NO DASHES"}},
        {L"65-43-21", L"12345678", {"OTHER SORT CODE"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << test.sortCode << " " << test.accountNumber);
        SetAccount(test.sortCode, test.accountNumber);
        ASSERT_EQ(S_OK, Import("import_accounts.csv"));
        EXPECT_EQ(test.imported, Descriptions());
    }
}

// Each import takes only what its own reconciliation's bank account says,
// after an import that matched lines: nothing of the earlier account stays.
TEST_F(StatementImportTest, EachImportUsesOnlyItsOwnAccount) {
    const struct {
        const wchar_t* sortCode;
        const wchar_t* accountNumber;
        bool hasBankAccount;
        Lines expected;
    } cases[] = {
        // a nine-digit number is its own other form, and lines keep at most 8 digits
        {L"12-34-56", L"123456789", true, {}},
        // no value, or one that does not convert: empty, so only lines with empty fields match
        {nullptr, nullptr, true, {}},
        {L"12-34-56", nullptr, true, {"NO ACCOUNT"}},
        // an empty account number given by the host has 00000000 as its other form
        {L"12-34-56", L"", true, {"NO ACCOUNT", "EIGHT ZEROS"}},
        {L"12\x4E2D" L"34-56", L"1234\x4E2D" L"5678", true, {}},
        {L"12-34-56", L"12345678", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.accountNumber ? std::string(c.accountNumber, c.accountNumber + wcslen(c.accountNumber)) : "null");
        SetAccount(L"12-34-56", L"1234567");
        scenario->settings.hasBankAccount = true;
        ASSERT_EQ(S_OK, Import("import_accounts.csv"));
        ASSERT_EQ((Lines{"LEADING ZERO", "SEVEN DIGITS"}), Descriptions());
        SetAccount(c.sortCode, c.accountNumber);
        scenario->settings.hasBankAccount = c.hasBankAccount;
        ASSERT_EQ(S_OK, Import("import_accounts.csv"));
        EXPECT_EQ(c.expected, Descriptions());
    }
}

// What reaches the host from statements of shapes that are easy to misread:
// a title line before the lines, lines of longer sort codes or account
// numbers, and texts written in UTF-8, with or without the byte-order mark,
// or in the ANSI code page.
TEST_F(StatementImportTest, ImportsExactlyWhatTheFileSays) {
    const struct {
        const char* fixture;
        Lines descriptions;
        Lines references;
    } cases[] = {
        {"title_line_first.csv", {"AFTER THE TITLE", "SECOND"}, {"DD", "SO"}},
        {"cut_identifiers.csv", {"OWN ACCOUNT", "SPACES INSIDE"}, {"DD", "DD"}},
        {"utf8_texts.csv", {"CAF\xC3\x89 \xC2\xA3" "12", "BAD \xEF\xBF\xBD BYTE", "CUT TYPE CODE"},
         {"DD", "DD", "\xC3\xA9\xEF\xBF\xBD"}},
        {"ansi_texts.csv", {"CAF\xC3\x89 \xC2\xA3" "12", kNoirMuller}, {"DD", "DD"}},
        // UTF-8 without the mark is UTF-8; a file whose later bytes are not is read in the ANSI code page whole
        {"utf8_no_mark_texts.csv", {"CAF\xC3\x89 \xC2\xA3" "12", kNoirMuller}, {"DD", "DD"}},
        {"utf8_then_ansi_texts.csv", {"CAF\xC3\x83\xE2\x80\xB0 \xC3\x82\xC2\xA3" "12", kNoirMuller}, {"DD", "DD"}},
        // a transaction line with an unquoted comma stops the import, first line or not
        {"comma_in_first_description.csv", {}, {}},
    };
    SetAccount(L"12-34-56", L"12345678");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        ASSERT_EQ(S_OK, Import(c.fixture));
        EXPECT_EQ(c.descriptions, Descriptions());
        Lines references;
        for (const auto& line : statement->Lines()) references.push_back(line.reference);
        EXPECT_EQ(c.references, references);
    }
}

// A statement written in the system's ANSI code page reaches the host as
// written whatever the thread's locale: with Polish or Russian "Formats" on
// an English system the thread's code page is another one, and reading the
// file in it would turn the E acute and the pound sign into other letters.
TEST_F(StatementImportTest, TextsDoNotChangeWithTheThreadLocale) {
    SetAccount(L"12-34-56", L"12345678");
    for (const LCID locale : {0x0415, 0x0419}) {
        SCOPED_TRACE(locale);
        const ThreadLocale formats(locale);
        ASSERT_NE(GetACP(), ThreadLocale::CodePage());
        ASSERT_EQ(S_OK, Import("ansi_texts.csv"));
        EXPECT_EQ((Lines{"CAF\xC3\x89 \xC2\xA3" "12", kNoirMuller}), Descriptions());
    }
}

// A statement as users have it after other programs had it: fully quoted by
// an exporter, its dates saved back as dd-mm-yy by a spreadsheet, saved as
// UTF-8 without the byte-order mark. The host receives the lines of the file
// it was saved from: the same lines, amounts, texts and references (cheques
// found), and either the same dates or none, never a wrong one.
TEST_F(StatementImportTest, ImportsTheLinesOfTheFileACopyWasSavedFrom) {
    using Row = std::tuple<std::string, long, double, DATE, std::string, std::string>;
    const auto rows = [this](bool datesKept) {
        std::vector<Row> received;
        for (const auto& l : statement->Lines())
            received.emplace_back(l.number, l.direction, l.amount, datesKept ? l.date : 0.0, l.description,
                                  l.reference);
        return received;
    };
    const char* const dateFirstSample = "../../samples/orvale-statement-date-first.csv";
    const char* const accountFirstSample = "../../samples/orvale-statement-account-first.csv";
    const struct {
        const char* copy;
        const char* original;
        const wchar_t* accountNumber;
        size_t lines;
        bool datesKept;
    } cases[] = {{"quoted_sample_date_first.csv", dateFirstSample, L"45678912", 8, true},
                 {"quoted_sample_account_first.csv", accountFirstSample, L"45678912", 6, true},
                 {"sample_dd_mm_yy_dates.csv", dateFirstSample, L"45678912", 8, false},
                 {"utf8_no_mark_texts.csv", "ansi_texts.csv", L"12345678", 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copy);
        SetAccount(L"12-34-56", c.accountNumber);
        ASSERT_EQ(S_OK, Import(c.original));
        const std::vector<Row> expected = rows(c.datesKept);
        ASSERT_EQ(c.lines, expected.size());
        ASSERT_EQ(S_OK, Import(c.copy));
        EXPECT_EQ(expected, rows(true));
    }
}

TEST_F(StatementImportTest, NoFileChosenLeavesTheStatementAlone) {
    scenario->settings.showStatus = 1;
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    EXPECT_EQ(1, Cancelled());
    EXPECT_EQ(0, scenario->log.CountOf("Statement", "Clear"));
    EXPECT_EQ(0, scenario->log.CountOf("Reconciliation", "get_BankAccount"));

    scenario->settings.showStatus = 0;
    scenario->failures.Inject("FileChooser", "Show", Outcome(E_FAIL));
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    EXPECT_EQ(1, Cancelled()) << "a Show that fails without a status chose nothing";
    EXPECT_EQ(0, scenario->log.CountOf("Statement", "Clear"));
}

TEST_F(StatementImportTest, UnrecognisedFileEmptiesTheStatementAndPassesNothing) {
    ASSERT_EQ(S_OK, Import("header_only.csv"));
    EXPECT_EQ(0, Cancelled());
    EXPECT_EQ(1, scenario->log.CountOf("Statement", "Clear"));
    EXPECT_EQ(1, scenario->log.CountOf("Statement", "put_Balance"));
    EXPECT_EQ(0, scenario->log.CountOf("Statement", "AddLine"));
    EXPECT_EQ("0, (title untouched)", scenario->log.Calls("FileChooser", "Recognizer").at(0).value);
}

TEST_F(StatementImportTest, FailedChooserSetUpEndsTheImportBeforeTheStatement) {
    const struct {
        const char* object;
        const char* operation;
    } failures[] = {{"BankSetup", "GetFileOptions"}, {"FileChooser", "SetOptions"},
                    {"BankSetup", "CreateInstance"}, {"FileChooser", "CreateInstance"}};
    for (const auto& failure : failures) {
        SCOPED_TRACE(std::string(failure.object) + "." + failure.operation);
        scenario->failures = reference_host::FailurePlan();
        scenario->failures.Inject(failure.object, failure.operation, Outcome(E_ACCESSDENIED, L"refused by the host"));
        scenario->log.Clear();
        EXPECT_EQ(DISP_E_EXCEPTION, Import("import_statement.csv"));
        EXPECT_EQ(0, Cancelled());
        EXPECT_EQ(0, scenario->log.CountOf("Statement", "Clear"));
        EXPECT_TRUE(Descriptions().empty());
    }
}

TEST_F(StatementImportTest, StatementLinesTheHostDoesNotSupplyArePassedOver) {
    SetAccount(L"12-34-56", L"12345678");
    scenario->failures.Inject("Statement", "AddLine", Outcome(E_OUTOFMEMORY, L"", 1));
    scenario->failures.Inject("Statement", "AddLine", Outcome(S_OK, L"", 3));
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    const auto lines = statement->Lines();
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ("CHQ 000042", lines[0].description);
    EXPECT_EQ("VT_I4 1", lines[0].number) << "a line the host did not supply takes no number";
    EXPECT_EQ("77", lines[1].description);
    EXPECT_EQ("VT_I4 2", lines[1].number);
}

TEST_F(StatementImportTest, FailingStatementCallsDoNotStopTheImport) {
    SetAccount(L"12-34-56", L"12345678");
    scenario->failures.Inject("Statement", "Clear", Outcome(E_FAIL));
    scenario->failures.Inject("StatementLine", "put_Amount", Outcome(E_FAIL));
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    EXPECT_EQ(6u, statement->Lines().size());
}

TEST_F(StatementImportTest, BankAccountReportedWithoutAnObjectCountsAsNone) {
    SetAccount(L"12-34-56", L"12345678");
    scenario->failures.Inject("Reconciliation", "get_BankAccount", Outcome(S_OK));
    ASSERT_EQ(S_OK, Import("import_accounts.csv"));
    EXPECT_TRUE(Descriptions().empty());
    EXPECT_EQ(0, scenario->log.CountOf("BankAccount", "get_AccountNumber"));
}

// A call refused for its arguments touches nothing, the cancelled flag of
// the import before it included.
TEST_F(StatementImportTest, NullHostObjectsAreRefusedUntouched) {
    for (const long showStatus : {1, 0}) {
        SCOPED_TRACE(showStatus);
        scenario->settings.showStatus = showStatus;
        ASSERT_EQ(S_OK, Import("import_statement.csv"));
        scenario->log.Clear();
        const auto reconciliation = scenario->CreateReconciliation();
        statement = scenario->CreateStatement();
        EXPECT_EQ(kInvalidArgument, service->ImportStatement(nullptr, statement.Get()));
        EXPECT_EQ(kInvalidArgument, service->ImportStatement(reconciliation.Get(), nullptr));
        EXPECT_EQ(L"Invalid argument", TakeErrorDescription());
        EXPECT_TRUE(scenario->log.Entries().empty());
        EXPECT_EQ(showStatus, Cancelled());
    }
}

// The system's text for a code, without the line break it ends with.
std::wstring SystemText(DWORD code) {
    wchar_t text[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 256, nullptr);
    std::wstring trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == L'\r' || trimmed.back() == L'\n' || trimmed.back() == L' '))
        trimmed.pop_back();
    return trimmed;
}

// A path longer than a path may be is refused; the description names the
// path and why, then the system's text.
TEST_F(StatementImportTest, ChosenPathTooLongIsRefusedWithASystemError) {
    const std::wstring path = L"C:\\" + std::wstring(300, L'a') + L".csv";
    for (const std::wstring& folder : {std::wstring(), std::wstring(L"\u0412\\")}) {  // a Cyrillic letter: Unicode
        SCOPED_TRACE(folder.size());
        scenario->settings.chosenFile = folder.empty() ? path : L"C:\\" + folder + path.substr(3);
        const auto reconciliation = scenario->CreateReconciliation();
        statement = scenario->CreateStatement();
        EXPECT_EQ(kSystemError, service->ImportStatement(reconciliation.Get(), statement.Get()));
        const std::wstring limit = folder.empty() ? L"259 bytes in the ANSI code page" : L"259 characters";
        EXPECT_EQ(L"The chosen statement file \"" + *scenario->settings.chosenFile + L"\" is longer than a path may be (" +
                      limit + L"): " + SystemText(ERROR_FILENAME_EXCED_RANGE),
                  TakeErrorDescription());
        EXPECT_EQ(0, scenario->log.CountOf("Statement", "Clear"));
    }
}

// A statement in a folder whose name the ANSI code page cannot spell (here
// Cyrillic under code page 1252) is opened by its Unicode path. The file
// test the host's chooser runs gets the narrow path, which cannot name the
// file, so it does not recognise it.
TEST_F(StatementImportTest, ImportsFromAFolderTheAnsiCodePageCannotSpell) {
    ASSERT_EQ(1252u, GetACP()) << "a Western system";
    wchar_t temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
    const std::wstring folder = std::wstring(temp) + L"\u0412\u044b\u043f\u0438\u0441\u043a\u0438";  // Выписки
    const std::wstring copy = folder + L"\\statement " + std::to_wstring(GetCurrentProcessId()) + L".csv";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(FixturePath("import_statement.csv").c_str(), copy.c_str(), FALSE));
    SetAccount(L"12-34-56", L"12345678");
    scenario->settings.chosenFile = copy;
    const auto reconciliation = scenario->CreateReconciliation();
    statement = scenario->CreateStatement();
    EXPECT_EQ(S_OK, service->ImportStatement(reconciliation.Get(), statement.Get()));
    EXPECT_EQ(6u, statement->Lines().size());
    EXPECT_EQ(0, Cancelled());
    EXPECT_EQ("0, (title untouched)", scenario->log.Calls("FileChooser", "Recognizer").back().value);
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

// A text from the host with a NUL before another character is not the
// text before the NUL: such a chosen path is refused with the system's
// "invalid name", its description naming the path and why, before the
// statement is touched, and such an account number or sort code matches no
// line. NULs that end a text (a host's fixed-size buffer) end it.
TEST_F(StatementImportTest, HostTextsWithANulWithinTheirLengthAreNotCutShort) {
    using namespace std::string_literals;
    const Lines accountsLines = {"EIGHT DIGITS", "NO DASHES"};
    const struct {
        std::wstring sortCode;
        std::wstring accountNumber;
        Lines imported;
    } accounts[] = {
        {L"12-34-56", L"12345678", accountsLines},
        {L"12-34-56", L"12345678\0" L"999"s, {}},
        {L"12-34-56", L"12345678\0\0" L"9"s, {}},
        {L"12-34-56\0" L"78"s, L"12345678", {}},
        {L"12-34-56", L"12345678\0"s, accountsLines},
        {L"12-34-56\0\0\0"s, L"12345678\0\0\0\0\0\0\0\0"s, accountsLines},
    };
    for (const auto& c : accounts) {
        SCOPED_TRACE(&c - accounts);
        scenario->settings.sortCode = c.sortCode;
        scenario->settings.accountNumber = c.accountNumber;
        ASSERT_EQ(S_OK, Import("import_accounts.csv"));
        EXPECT_EQ(c.imported, Descriptions());
    }
    SetAccount(L"12-34-56", L"12345678");
    for (const std::wstring& cut : {L"\0.pdf"s, L"\0\0x"s}) {
        scenario->settings.chosenFile = FixturePath("import_statement.csv") + cut;
        scenario->log.Clear();
        const auto reconciliation = scenario->CreateReconciliation();
        statement = scenario->CreateStatement();
        EXPECT_EQ(kSystemError, service->ImportStatement(reconciliation.Get(), statement.Get()));
        std::wstring shown = *scenario->settings.chosenFile;
        for (size_t nul; (nul = shown.find(L'\0')) != std::wstring::npos;) shown.replace(nul, 1, L"<NUL>");
        EXPECT_EQ(L"The chosen statement file \"" + shown + L"\" has a NUL character before its end: " +
                      SystemText(ERROR_INVALID_NAME),
                  TakeErrorDescription());
        EXPECT_EQ(0, Cancelled());
        EXPECT_EQ(0, scenario->log.CountOf("Statement", "Clear"));
    }
    for (const std::wstring& end : {L"\0"s, L"\0\0\0\0"s}) {
        scenario->settings.chosenFile = FixturePath("import_statement.csv") + end;
        const auto reconciliation = scenario->CreateReconciliation();
        statement = scenario->CreateStatement();
        EXPECT_EQ(S_OK, service->ImportStatement(reconciliation.Get(), statement.Get()));
        EXPECT_EQ(6u, statement->Lines().size());
    }
}

// A host that pumps messages while it takes a line or shows its file chooser
// can start another import on the same service before the running one
// returns. The running import still passes exactly its own account's lines,
// never those of the other import's account, and Cancelled then tells of the
// running import: a nested import cancelled inside Show leaves no 1 behind
// once the outer import has imported.
TEST_F(StatementImportTest, ImportStartedInsideAnImportLeavesItAsItWas) {
    SetAccount(L"12-34-56", L"12345678");
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    const Lines ownLines = Descriptions();
    ASSERT_EQ(6u, ownLines.size());
    ComPtr<reference_host::HostStatement> nested;
    long nestedCancelled = -1;
    // An import for account 65-43-21 87654321 whose Show reports `showStatus`.
    const auto importAgain = [&](long showStatus) {
        return [&, showStatus] {
            const reference_host::HostSettings outer = scenario->settings;
            scenario->settings.sortCode = L"65-43-21";
            scenario->settings.accountNumber = L"87654321";
            scenario->settings.showStatus = showStatus;
            const auto reconciliation = scenario->CreateReconciliation();
            nested = scenario->CreateStatement();
            EXPECT_EQ(S_OK, service->ImportStatement(reconciliation.Get(), nested.Get()));
            nestedCancelled = Cancelled();
            scenario->settings = outer;
        };
    };
    const struct {
        const char* object;
        const char* operation;
        int call;
        long showStatus;
        Lines nestedLines;
    } cases[] = {{"Statement", "AddLine", 2, 0, {"OTHER ACCOUNT"}}, {"FileChooser", "Show", 1, 1, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        scenario->log.Clear();
        scenario->failures = reference_host::FailurePlan();
        scenario->failures.Interject(c.object, c.operation, c.call, importAgain(c.showStatus));
        ASSERT_EQ(S_OK, Import("import_statement.csv"));
        EXPECT_EQ(ownLines, Descriptions());
        EXPECT_EQ(0, Cancelled());
        EXPECT_EQ(c.showStatus, nestedCancelled);
        ASSERT_TRUE(nested);
        Lines nestedLines;
        for (const auto& line : nested->Lines()) nestedLines.push_back(line.description);
        EXPECT_EQ(c.nestedLines, nestedLines);
        nested.Reset();
    }
}

TEST_F(StatementImportTest, RecognizerRefusesNullArguments) {
    ASSERT_EQ(S_OK, Import("import_statement.csv"));
    const FileRecognizer recognize = RecognizerGivenToChooser();
    ASSERT_NE(nullptr, recognize);
    char title[64] = "unchanged";
    const std::string path = "Z:" + std::string(PENDREL_FIXTURES_DIR).substr(2) + "/import_statement.csv";
    EXPECT_EQ(0, recognize(nullptr, path.c_str()));
    EXPECT_EQ(0, recognize(title, nullptr));
    EXPECT_STREQ("unchanged", title);
    EXPECT_EQ(1, recognize(title, path.c_str()));
    EXPECT_STREQ("Orvale Online For Business - Statement", title);
}

}  // namespace
