// OrvaleOnlineForBusinessFile: the statement file reader.
//
// Opens a comma-separated statement file, decides from its first lines which
// of the two layouts it uses (1: date first; 2: sort code and account first),
// and then yields its transaction lines one at a time. The file is streamed a
// line at a time through a fixed buffer; memory use does not grow with it.
//
// The reader never throws to its callers: every failure ends in a false
// result and fixed diagnostic texts on the debugger output. Why a file was
// not recognised, and why a line could not be read, are also kept as values
// (Recognition, LineReadOutcome), from which those texts are made; callers
// that explain an import read the values, never the texts.
#pragma once

#include "TransactionRecord.h"

#include <fstream>

// Where a statement file is: its path in the ANSI code page, as every path
// the code page can spell is opened, or its Unicode path, for one it cannot.
struct StatementPath {
    StatementPath(const char* ansiPath) : ansi(ansiPath) {}
    StatementPath(const wchar_t* unicodePath) : unicode(unicodePath) {}

    const char* ansi = nullptr;
    const wchar_t* unicode = nullptr;
};

class OrvaleOnlineForBusinessFile {
public:
    // What the format check found.
    enum class Recognition {
        Recognised,
        CannotOpen,        // the file cannot be opened
        NoEightFieldLine,  // neither of the first two lines has 8 fields
        FieldsMismatch,    // the first line of 8 fields fits neither layout
        CheckFailed,       // the check itself failed (for example, out of memory)
    };

    // Why the last ReadTransaction returned false, or None when it did not.
    enum class ReadFailure {
        None,
        EndOfFile,
        StreamNotOpen,
        TooLong,       // longer than kMaxLineLength characters
        FieldCount,    // not 8 fields (an empty line has 1)
        FieldTooLong,  // 8 fields, one of them longer than kMaxFieldLength
        NoLayout,      // the file has no layout to read the line with
        OutOfMemory,
    };
    struct LineReadOutcome {
        ReadFailure failure = ReadFailure::None;
        int fieldCount = 0;  // of the line read, when it was read whole
        bool blank = false;  // the line holds nothing but whitespace
    };

    // What SkipHeaderLine consumed: nothing, the header line, or a first
    // line that the format check passed over (its field count is not 8).
    enum class LeadingLine { None, Header, PassedOver };

    // `path` is narrow text in the ANSI code page (the file test's), or a
    // Unicode path; `mode` the stream open mode (the file test opens with
    // std::ios::in, the import adds binary).
    OrvaleOnlineForBusinessFile(StatementPath path, std::ios_base::openmode mode);
    OrvaleOnlineForBusinessFile(const OrvaleOnlineForBusinessFile&) = delete;
    OrvaleOnlineForBusinessFile& operator=(const OrvaleOnlineForBusinessFile&) = delete;

    bool IsValid() const;
    int GetLayout() const { return m_Layout; }
    Recognition GetRecognition() const { return m_Recognition; }
    // True when the file's text is UTF-8, not in the ANSI code page: it
    // starts with a UTF-8 byte-order mark, or DecideEncoding found it so.
    bool IsUtf8() const { return m_Utf8; }
    // Decides whether a recognised file without a byte-order mark is UTF-8,
    // from every byte of it (Utf8Scan.h): the whole file is read once, so
    // the file test, which the host's chooser runs on every file it shows,
    // does not call it; the import calls it once, before its first line.
    // Leaves the stream at the start of the file.
    void DecideEncoding();

    // True when the first whitespace-delimited word of `line` is exactly
    // "Transaction": the header line SkipHeaderLine passes over.
    static bool IsHeaderLine(const char* line);

    // Consumes the first line when its first word is "Transaction", or when
    // the format check passed over it and let the second line decide (then
    // LastRead() says why it is no transaction line), unless it has more
    // than 8 fields, a date where the layout has one and an amount in a field
    // from the sixth on: a transaction line with a comma too many, which is
    // left to be read (and stop the import).
    // Otherwise leaves the stream at the start of the file.
    LeadingLine SkipHeaderLine();

    // Resets `record` with the file's layout and fills it from the next line.
    // False at the end of the file and for any line that is not a
    // transaction line; the record then holds its reset state, and
    // LastRead() says why. A line whose debit or credit field keeps it from
    // carrying an amount (CTransactionRecord::GetAmountRefusal) is read, and
    // its number and the field named on the debugger output.
    bool ReadTransaction(CTransactionRecord& record);
    const LineReadOutcome& LastRead() const { return m_LastRead; }
    // The text of the line the last ReadTransaction or SkipHeaderLine read,
    // without its line feed, as the record was read from it (a quoted last
    // field has lost what followed its closing quote, see GetField); empty
    // at the end of the file and for a line too long to read. It lies in
    // the reader's own line buffer: the next read overwrites it.
    const char* LastLine() const { return m_Line; }

private:
    void Open(StatementPath path, std::ios_base::openmode mode);
    Recognition CheckFormat();
    int LayoutOf(LineBuffer& line) const;
    void ReportRecognition(const char* path) const;
    void RequireOpenStream();
    bool ReadRecord(CTransactionRecord& record);
    bool IsTransactionWithMoreFields() const;
    FileEncoding Encoding() const { return m_Utf8 ? FileEncoding::Utf8 : FileEncoding::Ansi; }
    // Back to the start of the first line, past a byte-order mark.
    void RewindStream();

    std::ifstream m_Stream;
    // Every line is read through it, in large reads of the stream.
    LineReader m_Lines{m_Stream};
    int m_Layout;
    int m_FieldCount;
    Recognition m_Recognition = Recognition::CannotOpen;
    LineReadOutcome m_LastRead;
    // The line being read: one buffer for every line of the file.
    LineBuffer m_Line = {};
    // The first line, when the format check passed over it: why it is not a
    // transaction line.
    LineReadOutcome m_PassedOverFirstLine;
    bool m_Utf8 = false;
    // The physical line of the file last read, from 1 (0: none since the
    // stream was rewound), for the texts that name a line.
    int m_LineNumber = 0;
};
