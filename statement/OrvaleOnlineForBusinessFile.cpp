#include "OrvaleOnlineForBusinessFile.h"

#include "LineFields.h"

#include <cstring>

namespace {

constexpr char kSeparator = ',';
constexpr int kFieldsPerLine = 8;
constexpr int kLinesExamined = 2;
constexpr const char* kHeaderWord = "Transaction";

constexpr const char* kFieldsMismatch =
    "File has correct number of Orvale Online For Business fields, but does not exactly match the "
    "criteria in fields 2 and/or 4";
constexpr const char* kOpenFailed = "Failed to Open the file: ";
constexpr const char* kConstructionFailed = "OrvaleOnlineForBusinessFile() failed to open: ";
constexpr const char* kStreamNotOpen = "File Stream is NOT open";
constexpr const char* kReadFailed = "Failed to read the Balance record\n";

void Report(const char* text) { platform::WriteDebugOutput(text); }

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// True when the first whitespace-delimited word of `line` is exactly `word`.
bool FirstWordIs(const char* line, const char* word) {
    while (IsSpace(*line)) ++line;
    const size_t length = std::strlen(word);
    return std::strncmp(line, word, length) == 0 && (line[length] == '\0' || IsSpace(line[length]));
}

// Length of field n after quote stripping and whitespace removal.
int CleanFieldLength(LineBuffer& line, int n) {
    CString text(GetField(line, kSeparator, n));
    StripQuotes(text);
    RemoveWhitespace(text);
    return text.GetLength();
}

}  // namespace

OrvaleOnlineForBusinessFile::OrvaleOnlineForBusinessFile(const char* path, std::ios_base::openmode mode)
    : m_Layout(0), m_FieldCount(0) {
    if (!Open(path, mode)) {
        Report(kConstructionFailed);
        Report(path ? path : "");
    }
}

bool OrvaleOnlineForBusinessFile::IsHeaderLine(const char* line) { return FirstWordIs(line, kHeaderWord); }

bool OrvaleOnlineForBusinessFile::IsValid() const { return m_FieldCount == kFieldsPerLine && m_Layout != 0; }

bool OrvaleOnlineForBusinessFile::Open(const char* path, std::ios_base::openmode mode) {
    const char* shownPath = path ? path : "";
    try {
        if (path) m_Stream.open(path, mode);
        if (m_Stream.is_open()) SkipByteOrderMark(m_Stream);
        if (!CheckFormat()) Report(shownPath);
        return true;
    } catch (...) {
        Report(kOpenFailed);
        Report(shownPath);
        return false;
    }
}

// Looks at no more than the first two lines: the first line of 8 fields
// decides the layout alone; a first line of another field count is passed
// over. One quoted-state flag serves both lines, so a quote left open at the
// end of the first line carries into the count of the second.
bool OrvaleOnlineForBusinessFile::CheckFormat() {
    if (!m_Stream.is_open()) return false;
    LineBuffer line;
    int quoted = 0;
    bool recognised = false;
    for (int examined = 0; examined < kLinesExamined; ++examined) {
        const bool readable = ::ReadLine(m_Stream, line) == LineRead::Complete;
        m_FieldCount = readable ? CountFields(line, kSeparator, quoted) : 0;
        m_Layout = 0;
        if (m_FieldCount != kFieldsPerLine) continue;
        m_Layout = LayoutOf(line);
        recognised = m_Layout != 0;
        if (!recognised) Report(kFieldsMismatch);
        break;
    }
    Rewind(m_Stream);
    return recognised;
}

// Layout 1 has the type code (at most 3 characters) in field 2 and the
// account number (at most 8) in field 4; layout 2 has them the other way
// round. Empty fields satisfy both limits.
int OrvaleOnlineForBusinessFile::LayoutOf(LineBuffer& line) const {
    const int second = CleanFieldLength(line, 2);
    if (second <= 3) return CleanFieldLength(line, 4) <= 8 ? 1 : 0;
    if (second <= 8) return CleanFieldLength(line, 4) <= 3 ? 2 : 0;
    return 0;
}

void OrvaleOnlineForBusinessFile::RequireOpenStream() {
    if (m_Stream.is_open()) return;
    Report(kStreamNotOpen);
    throw CTransactionRecord::StreamNotOpen;
}

void OrvaleOnlineForBusinessFile::SkipHeaderLine() {
    try {
        RequireOpenStream();
        LineBuffer line;
        if (::ReadLine(m_Stream, line) == LineRead::TooLong || !IsHeaderLine(line)) Rewind(m_Stream);
    } catch (...) {
        Report(kReadFailed);
    }
}

bool OrvaleOnlineForBusinessFile::ReadTransaction(CTransactionRecord& record) {
    try {
        record.Reset(m_Layout);
        RequireOpenStream();
        m_Stream >> record;
        return true;
    } catch (...) {
        record.Reset(m_Layout);
        Report(kReadFailed);
        return false;
    }
}
