#include "StatementWalk.h"

namespace {

constexpr std::ios_base::openmode kImportMode = std::ios::in | std::ios::binary;

// The fate of a line that read as a transaction.
LineFate FateOf(const CTransactionRecord& record, const StatementAccount& account) {
    if (!account.MatchesAccount(record)) return LineFate::OtherAccount;
    if (!StatementAccount::HasAmount(record)) return LineFate::NoAmount;
    return LineFate::Imported;
}

}  // namespace

WalkOutcome WalkStatementFile(StatementPath path, const StatementAccount& account, LineVerdictHandler& handler,
                              AfterStop afterStop) {
    OrvaleOnlineForBusinessFile reader(path, kImportMode);
    reader.DecideEncoding();
    const WalkOutcome outcome{reader.GetRecognition(), reader.GetLayout(), reader.IsUtf8()};
    handler.OnRecognition(outcome);
    if (!reader.IsValid()) return outcome;

    LineVerdict verdict;
    const OrvaleOnlineForBusinessFile::LeadingLine leading = reader.SkipHeaderLine();
    if (leading != OrvaleOnlineForBusinessFile::LeadingLine::None) {
        verdict.lineNumber = 1;
        verdict.fate = leading == OrvaleOnlineForBusinessFile::LeadingLine::Header ? LineFate::Header : LineFate::PassedOver;
        verdict.failure = reader.LastRead();
        verdict.text = reader.LastLine();
        handler.OnLine(verdict);
    }
    CTransactionRecord record;
    long statementLine = 1;
    bool stopped = false;
    for (int lineNumber = verdict.lineNumber + 1;; ++lineNumber) {
        verdict = LineVerdict();
        verdict.lineNumber = lineNumber;
        const bool read = reader.ReadTransaction(record);
        if (!read && reader.LastRead().failure == OrvaleOnlineForBusinessFile::ReadFailure::EndOfFile) break;
        const LineFate fate = read ? FateOf(record, account) : LineFate::Unreadable;
        verdict.record = read ? &record : nullptr;
        verdict.failure = reader.LastRead();
        verdict.text = reader.LastLine();
        verdict.fate = stopped ? LineFate::NotRead : fate;
        verdict.wouldHaveBeen = stopped ? fate : LineFate::NotRead;
        if (verdict.fate == LineFate::Imported) verdict.statementLine = statementLine;
        if (handler.OnLine(verdict) && verdict.fate == LineFate::Imported) ++statementLine;
        stopped = stopped || fate == LineFate::Unreadable;
        if (stopped && afterStop == AfterStop::StopReading) break;
    }
    return outcome;
}
