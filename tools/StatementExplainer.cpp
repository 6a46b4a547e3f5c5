#include "StatementExplainer.h"

#include "Platform.h"
#include "Utf8Text.h"

namespace {

using Recognition = OrvaleOnlineForBusinessFile::Recognition;
using ReadFailure = OrvaleOnlineForBusinessFile::ReadFailure;

std::string Quoted(const CString& text) { return "\"" + std::string(text.GetText()) + "\""; }

std::string RecognitionText(const WalkOutcome& outcome) {
    switch (outcome.recognition) {
        case Recognition::Recognised:
            return outcome.layout == 1 ? "recognised, layout 1 (date, type, sort code, account number first)"
                                       : "recognised, layout 2 (sort code, account number, date, type first)";
        case Recognition::CannotOpen:
            return "not recognised: the file cannot be opened";
        case Recognition::NoEightFieldLine:
            return "not recognised: neither of its first two lines has 8 fields";
        case Recognition::FieldsMismatch:
            return "not recognised: its first line of 8 fields has a field 2 or field 4 too long for either layout "
                   "(at most 3 and 8 characters, or 8 and 3)";
        case Recognition::CheckFailed:
            break;
    }
    return "not recognised: the format check failed (out of memory)";
}

std::string FieldsText(int count) { return std::to_string(count) + (count == 1 ? " field" : " fields"); }

std::string UnreadableText(const OrvaleOnlineForBusinessFile::LineReadOutcome& outcome) {
    switch (outcome.failure) {
        case ReadFailure::TooLong:
            return "longer than 2047 characters";
        case ReadFailure::FieldCount:
            return FieldsText(outcome.fieldCount) + ", not 8";
        case ReadFailure::FieldTooLong:
            return "8 fields but a field longer than 511 characters";
        case ReadFailure::OutOfMemory:
            return "out of memory while reading it";
        case ReadFailure::NoLayout:
        case ReadFailure::StreamNotOpen:
        case ReadFailure::EndOfFile:
        case ReadFailure::None:
            break;
    }
    return "the file could not be read";
}

std::string OtherAccountText(const CTransactionRecord& record, const StatementAccount& account) {
    std::string text = "sort code " + Quoted(record.GetSortCode()) + " and account " +
                       Quoted(record.GetAccountNumber()) + "; the host's are sort code " +
                       Quoted(account.SortCode()) + " and account " + Quoted(account.AccountNumber());
    if (!(account.AccountNumberAlt() == account.AccountNumber())) text += " or " + Quoted(account.AccountNumberAlt());
    return text;
}

// The money fields of a line of the account, as people can read them.
LineMoney MoneyOf(const char* text, FileEncoding encoding) {
    LineMoney money = ReadLineMoney(text);
    for (MoneyField* field : {&money.debit, &money.credit, &money.balance})
        if (field->kind == MoneyField::Kind::Unreadable) field->text = FileTextToUtf8(field->text, encoding);
    return money;
}

ExplainedLine Explained(const LineVerdict& verdict, const StatementAccount& account, FileEncoding encoding) {
    ExplainedLine line;
    line.lineNumber = verdict.lineNumber;
    line.fate = verdict.fate;
    line.wouldHaveBeen = verdict.wouldHaveBeen;
    line.blank = verdict.failure.blank;
    if (verdict.fate == LineFate::OtherAccount) line.reason = OtherAccountText(*verdict.record, account);
    if (verdict.fate == LineFate::Unreadable || verdict.fate == LineFate::PassedOver)
        line.reason = UnreadableText(verdict.failure);
    if (verdict.fate == LineFate::Imported) {
        const CTransactionRecord& record = *verdict.record;
        line.statementLine = verdict.statementLine;
        line.direction = record.GetIsDebit() ? 0 : 1;
        line.amount = record.GetIsDebit() ? record.GetDebitAmount() : record.GetCreditAmount();
    }
    if (verdict.fate == LineFate::Imported || verdict.fate == LineFate::NoAmount) {
        line.date = verdict.record->GetDate();
        line.money = MoneyOf(verdict.text, encoding);
    }
    return line;
}

// Puts each verdict into words for the caller.
class Explainer : public LineVerdictHandler {
public:
    Explainer(const StatementAccount& account, const std::function<void(const StatementExplanation&)>& onRecognition,
              const std::function<void(const ExplainedLine&)>& onLine)
        : m_account(account), m_onRecognition(onRecognition), m_onLine(onLine) {}

    void OnRecognition(const WalkOutcome& outcome) override {
        StatementExplanation explanation;
        explanation.recognised = outcome.recognition == Recognition::Recognised;
        explanation.layout = outcome.layout;
        explanation.recognition = RecognitionText(outcome);
        m_encoding = outcome.utf8 ? FileEncoding::Utf8 : FileEncoding::Ansi;
        m_onRecognition(explanation);
    }

    bool OnLine(const LineVerdict& verdict) override {
        m_onLine(Explained(verdict, m_account, m_encoding));
        return true;
    }

private:
    const StatementAccount& m_account;
    const std::function<void(const StatementExplanation&)>& m_onRecognition;
    const std::function<void(const ExplainedLine&)>& m_onLine;
    FileEncoding m_encoding = FileEncoding::Ansi;  // the file's, told with its recognition
};

// The walk's reader writes its diagnostic texts as the module's does; here
// they would only repeat what the explanation says, so they go nowhere.
class SilencedDiagnostics {
public:
    SilencedDiagnostics() : m_previous(platform::SetDebugSink([](const char*) {})) {}
    SilencedDiagnostics(const SilencedDiagnostics&) = delete;
    SilencedDiagnostics& operator=(const SilencedDiagnostics&) = delete;
    ~SilencedDiagnostics() { platform::SetDebugSink(m_previous); }

private:
    platform::DebugSink m_previous;
};

}  // namespace

void ExplainStatement(const char* path, const StatementAccount& account,
                      const std::function<void(const StatementExplanation&)>& onRecognition,
                      const std::function<void(const ExplainedLine&)>& onLine) {
    const SilencedDiagnostics silenced;
    Explainer explainer(account, onRecognition, onLine);
    WalkStatementFile(path, account, explainer, AfterStop::ReadToTheEnd);
}

StatementExplanation ExplainStatement(const char* path, const StatementAccount& account) {
    StatementExplanation explanation;
    ExplainStatement(
        path, account, [&](const StatementExplanation& recognition) { explanation = recognition; },
        [&](const ExplainedLine& line) { explanation.lines.push_back(line); });
    return explanation;
}

std::string Describe(const ExplainedLine& line) {
    const std::string prefix = "line " + std::to_string(line.lineNumber) + ": ";
    switch (line.fate) {
        case LineFate::Header:
            return prefix + "header, skipped";
        case LineFate::PassedOver:
            return prefix + "passed over: " + line.reason + " (the second line decided the layout)";
        case LineFate::Imported:
            return prefix + "imported as statement line " + std::to_string(line.statementLine);
        case LineFate::OtherAccount:
            return prefix + "passed over: another account (" + line.reason + ")";
        case LineFate::NoAmount:
            return prefix + "passed over: no debit or credit amount";
        case LineFate::Unreadable:
            return prefix + "not a transaction line (" + line.reason + "), so the import stopped here";
        case LineFate::NotRead:
            break;
    }
    return prefix + "not read: the import had stopped";
}
