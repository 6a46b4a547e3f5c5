#include "StatementExplainer.h"

#include "LineFields.h"
#include "LineReading.h"
#include "OrvaleOnlineForBusinessFile.h"
#include "Platform.h"

#include <fstream>
#include <sstream>

namespace {

constexpr std::ios_base::openmode kImportMode = std::ios::in | std::ios::binary;

std::string Quoted(const CString& text) { return "\"" + std::string(text.GetText()) + "\""; }

// Why the reader did not recognise the file, from what it reported.
std::string WhyNotRecognised(const char* path, const std::vector<std::string>& reported) {
    if (!std::ifstream(path, kImportMode).is_open()) return "the file cannot be opened";
    for (const std::string& text : reported)
        if (text.find("does not exactly match") != std::string::npos)
            return "its first line of 8 fields has a field 2 or field 4 too long for either layout "
                   "(at most 3 and 8 characters, or 8 and 3)";
    return "neither of its first two lines has 8 fields";
}

void Recognise(const char* path, StatementExplanation& explanation) {
    std::vector<std::string> reported;
    const platform::DebugSink previous =
        platform::SetDebugSink([&reported](const char* text) { reported.emplace_back(text); });
    const OrvaleOnlineForBusinessFile reader(path, kImportMode);
    platform::SetDebugSink(previous);
    explanation.recognised = reader.IsValid();
    explanation.layout = reader.GetLayout();
    if (!explanation.recognised)
        explanation.recognition = "not recognised: " + WhyNotRecognised(path, reported);
    else if (explanation.layout == 1)
        explanation.recognition = "recognised, layout 1 (date, type, sort code, account number first)";
    else
        explanation.recognition = "recognised, layout 2 (sort code, account number, date, type first)";
}

// Parses the line as the reader does; false for a line that is not a
// transaction line (the parser throws the record's error value, or a string
// failure for a field that does not fit).
bool ParsesAsTransaction(LineBuffer& line, CTransactionRecord& record) {
    try {
        std::istringstream stream(line);
        stream >> record;
        return true;
    } catch (CTransactionRecord::ReadError) {
        return false;
    } catch (long) {
        return false;
    }
}

// The fate of one line read as a transaction line.
ExplainedLine ExplainTransaction(LineBuffer& line, LineRead read, int layout, const StatementAccount& account,
                                 long& statementLine) {
    ExplainedLine explained;
    int quoted = 0;
    const int fields = read == LineRead::TooLong ? 0 : CountFields(line, ',', quoted);
    CTransactionRecord record;
    record.Reset(layout);
    if (read == LineRead::TooLong || !ParsesAsTransaction(line, record)) {
        explained.fate = LineFate::NotATransaction;
        explained.reason = read == LineRead::TooLong ? "longer than 2047 characters"
                                                     : std::to_string(fields) + (fields == 1 ? " field" : " fields") +
                                                           (fields == 8 ? " but a field longer than 511 characters" : ", not 8");
        return explained;
    }
    if (!account.MatchesAccount(record)) {
        explained.fate = LineFate::OtherAccount;
        explained.reason = "sort code " + Quoted(record.GetSortCode()) + " and account " +
                           Quoted(record.GetAccountNumber()) + "; the host's are sort code " +
                           Quoted(account.SortCode()) + " and account " + Quoted(account.AccountNumber());
        if (!(account.AccountNumberAlt() == account.AccountNumber()))
            explained.reason += " or " + Quoted(account.AccountNumberAlt());
        return explained;
    }
    if (!StatementAccount::HasAmount(record)) {
        explained.fate = LineFate::NoAmount;
        return explained;
    }
    explained.fate = LineFate::Imported;
    explained.statementLine = statementLine++;
    explained.direction = record.GetIsDebit() ? 0 : 1;
    explained.amount = record.GetIsDebit() ? record.GetDebitAmount() : record.GetCreditAmount();
    explained.date = record.GetDate();
    return explained;
}

}  // namespace

StatementExplanation ExplainStatement(const char* path, const StatementAccount& account) {
    StatementExplanation explanation;
    Recognise(path, explanation);
    if (!explanation.recognised) return explanation;
    std::ifstream stream(path, kImportMode);
    SkipByteOrderMark(stream);  // as the reader does, so line 1 is read alike
    bool stopped = false;
    long statementLine = 1;
    for (int number = 1; stream.peek() != std::char_traits<char>::eof(); ++number) {
        LineBuffer line;
        const LineRead read = ReadLine(stream, line);
        ExplainedLine explained;
        if (stopped) {
            explained.fate = LineFate::NotRead;
        } else if (number == 1 && read == LineRead::Complete && OrvaleOnlineForBusinessFile::IsHeaderLine(line)) {
            explained.fate = LineFate::HeaderSkipped;
        } else {
            explained = ExplainTransaction(line, read, explanation.layout, account, statementLine);
            stopped = explained.fate == LineFate::NotATransaction;
        }
        explained.lineNumber = number;
        explanation.lines.push_back(explained);
    }
    return explanation;
}

std::string Describe(const ExplainedLine& line) {
    const std::string prefix = "line " + std::to_string(line.lineNumber) + ": ";
    switch (line.fate) {
        case LineFate::HeaderSkipped:
            return prefix + "header, skipped";
        case LineFate::Imported:
            return prefix + "imported as statement line " + std::to_string(line.statementLine);
        case LineFate::OtherAccount:
            return prefix + "passed over: another account (" + line.reason + ")";
        case LineFate::NoAmount:
            return prefix + "passed over: no debit or credit amount";
        case LineFate::NotATransaction:
            return prefix + "not a transaction line (" + line.reason + "), so the import stopped here";
        case LineFate::NotRead:
            break;
    }
    return prefix + "not read: the import had stopped";
}
