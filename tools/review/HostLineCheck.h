// Whether a walk of the statement file gives the lines the host received.
// The tool imports through the module, then reads the file again for its
// review; a file that changed in between (a download still being written,
// a file saved again) would get a review of other lines than the host
// received. Each line the walk calls imported is compared with the host's
// line of its number, value by value, and the walk's count with the host's.
#pragma once

#include "HostLines.h"
#include "StatementExplainer.h"

#include <optional>
#include <string>

// The first difference between the file as walked and the host's lines.
struct FileChange {
    enum class Kind { Value, NotReceived, NoLongerInFile };
    Kind kind = Kind::Value;
    std::optional<int> lineNumber;  // the file's line, for Value and NotReceived
    long statementLine = 0;
    std::string value;  // for Value: "number", "direction", "amount", "date", "description" or "reference"

    // In plain words: "line 3 of the file now gives statement line 2 another amount than the host received".
    std::string Text() const;
    // "value", "not_received", "no_longer_in_file", for JSON.
    const char* KindName() const;
};

class HostLineCheck {
public:
    explicit HostLineCheck(const HostLines& host) : m_host(host) {}

    void Add(const ExplainedLine& line);
    // After the walk: the first difference, if any.
    std::optional<FileChange> Change() const;

private:
    const HostLines& m_host;
    std::size_t m_imported = 0;
    std::optional<FileChange> m_change;
};
