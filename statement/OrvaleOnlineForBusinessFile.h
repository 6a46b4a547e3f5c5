// OrvaleOnlineForBusinessFile: the statement file reader.
//
// Opens a comma-separated statement file, decides from its first lines which
// of the two layouts it uses (1: date first; 2: sort code and account first),
// and then yields its transaction lines one at a time. The file is streamed a
// line at a time through a fixed buffer; memory use does not grow with it.
//
// The reader never throws to its callers: every failure ends in a false
// result and fixed diagnostic texts on the debugger output.
#pragma once

#include "TransactionRecord.h"

#include <fstream>

class OrvaleOnlineForBusinessFile {
public:
    // `path` is narrow text in the ANSI code page; `mode` the stream open mode
    // (the file test opens with std::ios::in, the import adds binary).
    OrvaleOnlineForBusinessFile(const char* path, std::ios_base::openmode mode);
    OrvaleOnlineForBusinessFile(const OrvaleOnlineForBusinessFile&) = delete;
    OrvaleOnlineForBusinessFile& operator=(const OrvaleOnlineForBusinessFile&) = delete;

    bool IsValid() const;
    int GetLayout() const { return m_Layout; }

    // True when the first whitespace-delimited word of `line` is exactly
    // "Transaction": the header line SkipHeaderLine passes over.
    static bool IsHeaderLine(const char* line);

    // Consumes the first line when its first word is "Transaction";
    // otherwise leaves the stream at the start of the file.
    void SkipHeaderLine();

    // Resets `record` with the file's layout and fills it from the next line.
    // False at the end of the file and for any line that is not a
    // transaction line; the record then holds its reset state.
    bool ReadTransaction(CTransactionRecord& record);

private:
    bool Open(const char* path, std::ios_base::openmode mode);
    bool CheckFormat();
    int LayoutOf(LineBuffer& line) const;
    void RequireOpenStream();

    std::ifstream m_Stream;
    int m_Layout;
    int m_FieldCount;
};
