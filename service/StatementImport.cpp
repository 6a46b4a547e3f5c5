// The statement import: ImportStatement of the statement service and its
// steps. The order of host calls is fixed: choose the file, empty the host
// statement, read the bank account, then hand over the lines one by one.
// Lines already handed over stay in the host statement whatever happens
// later; host calls on the statement and its lines are not checked.
#include "BankDisplayName.h"
#include "BankStatementService.h"
#include "ChosenPath.h"
#include "HostCalls.h"
#include "HostContract.h"
#include "HostLineValues.h"
#include "StatementFileRecognizer.h"
#include "StatementWalk.h"

#include <optional>
#include <string_view>

namespace {

// Fills host statement lines from records: the line's number and date, and
// the amount and texts HostLineValues.h describes. Every line is given the
// record's description first; a cheque's line is then given its own.
class StatementLineFiller {
public:
    explicit StatementLineFiller(FileEncoding encoding) : m_texts(encoding), m_lineTexts(encoding) {}

    void Fill(IHostStatementLine* line, const CTransactionRecord& record, long number) {
        Variant lineNumber;
        lineNumber->vt = VT_I4;
        lineNumber->lVal = number;
        line->put_Number(lineNumber.Get());
        line->put_Direction(HostLineDirectionOf(record));
        line->put_Amount(HostLineAmountOf(record));
        line->put_Date(record.GetDate());
        line->put_Description(m_texts.ToBstr(record.GetDescription()));
        const HostLineTexts texts = m_lineTexts.Of(record);
        line->put_Reference(ToBstr(texts.reference));
        if (texts.cheque) line->put_Description(ToBstr(texts.description));
    }

private:
    BSTR ToBstr(std::string_view text) { return m_texts.ToBstr(text.data(), static_cast<int>(text.size())); }

    FileTextConverter m_texts;
    HostLineTextsReader m_lineTexts;
};

// Adds a statement line for each imported line of the walk.
class HostStatementFeed : public LineVerdictHandler {
public:
    explicit HostStatementFeed(IHostStatement* statement) : m_statement(statement) {}

    void OnRecognition(const WalkOutcome& outcome) override {
        m_filler = StatementLineFiller(outcome.utf8 ? FileEncoding::Utf8 : FileEncoding::Ansi);
    }

    bool OnLine(const LineVerdict& verdict) override {
        if (verdict.fate != LineFate::Imported) return true;
        ComPtr<IHostStatementLine> line;
        if (FAILED(m_statement->AddLine(line.Put())) || !line) return false;
        m_filler.Fill(line.Get(), *verdict.record, verdict.statementLine);
        return true;
    }

private:
    IHostStatement* m_statement;
    StatementLineFiller m_filler{FileEncoding::Ansi};
};

// The sort code and account number of the reconciliation's bank account.
// Only whether a text came back counts, not the calls' result codes; what
// the bank account does not give is empty.
StatementAccount ReadBankAccount(IHostReconciliation* reconciliation) {
    ComPtr<IHostBankAccount> bankAccount;
    if (FAILED(reconciliation->get_BankAccount(bankAccount.Put()))) bankAccount.Reset();
    StatementAccount account;
    BStr accountNumber;
    if (bankAccount) bankAccount->get_AccountNumber(accountNumber.Put());
    account.SetAccountNumber(accountNumber.Get(), accountNumber.Length());
    BStr sortCode;
    if (bankAccount) bankAccount->get_SortCode(sortCode.Put());
    account.SetSortCode(sortCode.Get(), sortCode.Length());
    return account;
}

}  // namespace

// Cancelled is 1 after a call that chose no file, else 0, whatever a call
// made into this service during the import (see the header) left in it; a
// call refused for its arguments leaves it as it was.
STDMETHODIMP CBankStatementService::ImportStatement(IHostReconciliation* reconciliation, IHostStatement* statement) {
    std::optional<bool> chosen;  // set once the arguments are taken
    const HRESULT result = GuardedCall([&] {
        if (!reconciliation || !statement) ThrowHResult(E_INVALIDARG);
        chosen = true;
        m_cancelled = 0;
        const std::optional<ChosenPath> path = ChooseStatementFile();
        chosen = path.has_value();
        if (!path) return;
        statement->Clear();
        statement->put_Balance(0.0);
        const StatementAccount account = ReadBankAccount(reconciliation);
        // Every line the walk imports goes to the statement, numbered from 1,
        // until a line cannot be read.
        HostStatementFeed feed(statement);
        WalkStatementFile(path->Path(), account, feed, AfterStop::StopReading);
    });
    if (chosen) m_cancelled = *chosen ? 0 : 1;
    return result;
}

// Asks the host's file chooser for a file, offering RecognizeStatementFile
// to test candidates. Returns the path when a file was chosen; a path that
// cannot be opened as given is refused (ChosenPath).
std::optional<ChosenPath> CBankStatementService::ChooseStatementFile() {
    const ComPtr<IHostFileChooser> chooser = CreateHostObject<IHostFileChooser>(CLSID_HostFileChooser);
    const ComPtr<IHostBankSetup> bankSetup = CreateHostObject<IHostBankSetup>(CLSID_HostBankSetup);
    unsigned char bankName[kFileOptionsBankNameSize];
    FillBankNameRecord(bankName);
    FileChooserOptions options = {};
    CheckedHostCall(bankSetup, [&](IHostBankSetup* setup) {
        return setup->GetFileOptions(bankName, reinterpret_cast<unsigned char*>(&options));
    });
    options.m_recognizer = &RecognizeStatementFile;
    CheckedHostCall(chooser, [&](IHostFileChooser* fileChooser) {
        return fileChooser->SetOptions(reinterpret_cast<unsigned char*>(&options));
    });
    long status = -1;  // a Show that fails without a status chose nothing
    HostCall(chooser, [&](IHostFileChooser* fileChooser) { return fileChooser->Show(&status); });
    BStr chosen;
    HostCall(chooser, [&](IHostFileChooser* fileChooser) { return fileChooser->get_FileName(chosen.Put()); });
    if (status != 0) return std::nullopt;
    return ChosenPath(chosen.Get(), chosen.Length());
}
