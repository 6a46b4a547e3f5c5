// The walk of a statement file in an import: what becomes of each physical
// line of the file. It is the one place that applies the import's rules to
// the lines (the header, the format check's verdict, the account and amount
// tests, the stop at the first line that cannot be read), so the import that
// hands lines to the host and the import tool that explains them cannot
// disagree.
//
// Each line's verdict goes to the caller's handler as soon as the line is
// read; nothing is kept, so memory stays flat however long the file.
#pragma once

#include "OrvaleOnlineForBusinessFile.h"
#include "StatementAccount.h"

enum class LineFate {
    Header,        // the header line, skipped
    PassedOver,    // the first line, passed over by the format check (`failure` says why)
    Imported,      // a transaction line of the account with an amount: statement line `statementLine`
    OtherAccount,  // a transaction line of another account, passed over
    NoAmount,      // a transaction line without a debit or credit amount, passed over
    Unreadable,    // not a transaction line (`failure` says why): the import stops here
    NotRead,       // after the stop, not read by the import; `wouldHaveBeen` tells its fate otherwise
};

struct LineVerdict {
    int lineNumber = 0;  // physical line of the file, from 1
    LineFate fate = LineFate::NotRead;
    LineFate wouldHaveBeen = LineFate::NotRead;  // NotRead lines: Imported, OtherAccount, NoAmount or Unreadable
    long statementLine = 0;                      // Imported lines: their number for the host
    // The line as read, for lines that read as transactions; null otherwise.
    const CTransactionRecord* record = nullptr;
    // The line's text as the reader read it (OrvaleOnlineForBusinessFile::
    // LastLine: empty for a line too long to read). It is the reader's own
    // buffer, not a copy: valid only while the handler is called.
    const char* text = "";
    // Why the line could not be read, for PassedOver and Unreadable lines
    // (and NotRead ones that would have been Unreadable).
    OrvaleOnlineForBusinessFile::LineReadOutcome failure;
};

struct WalkOutcome {
    OrvaleOnlineForBusinessFile::Recognition recognition = OrvaleOnlineForBusinessFile::Recognition::CannotOpen;
    int layout = 0;
    // The file's text is UTF-8: it starts with the byte-order mark, or all its
    // bytes are UTF-8 with at least one character of several bytes (decided
    // once, from the whole file, before the first line is walked).
    bool utf8 = false;
};

class LineVerdictHandler {
public:
    // Told first, once: whether the file was recognised, and its layout.
    virtual void OnRecognition(const WalkOutcome&) {}
    // Takes one line's verdict. For an Imported line, false means the line
    // could not be handed over: it then takes no statement line number.
    virtual bool OnLine(const LineVerdict& verdict) = 0;

protected:
    ~LineVerdictHandler() = default;
};

// Whether the walk goes on after the line that stops the import: the import
// itself stops there; an explanation reads on to say what was not read.
enum class AfterStop { StopReading, ReadToTheEnd };

// Walks the file at `path` as the import reads it, for the host's account
// `account`. Nothing is walked when the file is not recognised.
WalkOutcome WalkStatementFile(StatementPath path, const StatementAccount& account, LineVerdictHandler& handler,
                              AfterStop afterStop);
