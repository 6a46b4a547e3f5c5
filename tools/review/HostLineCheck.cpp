#include "HostLineCheck.h"

namespace {

// The first value in which the host's line differs from the walk's, or null.
const char* DifferingValue(const HostLine& host, const ExplainedLine& line) {
    if (host.number != line.statementLine) return "number";
    if (host.direction != line.direction) return "direction";
    if (host.amount != line.amount) return "amount";
    if (host.date != line.date) return "date";
    if (host.description != line.description) return "description";
    if (host.reference != line.reference) return "reference";
    return nullptr;
}

}  // namespace

void HostLineCheck::Add(const ExplainedLine& line) {
    if (line.fate != LineFate::Imported || m_change) return;
    const std::size_t index = m_imported++;
    FileChange change;
    change.lineNumber = line.lineNumber;
    change.statementLine = line.statementLine;
    if (index >= m_host.Size()) {
        change.kind = FileChange::Kind::NotReceived;
        m_change = change;
    } else if (const char* value = DifferingValue(m_host[index], line)) {
        change.value = value;
        m_change = change;
    }
}

std::optional<FileChange> HostLineCheck::Change() const {
    if (m_change || m_imported >= m_host.Size()) return m_change;
    FileChange change;
    change.kind = FileChange::Kind::NoLongerInFile;
    change.statementLine = static_cast<long>(m_imported) + 1;
    return change;
}

std::string FileChange::Text() const {
    const std::string statement = "statement line " + std::to_string(statementLine);
    switch (kind) {
        case Kind::Value:
            return "line " + std::to_string(*lineNumber) + " of the file now gives " + statement + " another " +
                   value + " than the host received";
        case Kind::NotReceived:
            return "line " + std::to_string(*lineNumber) + " of the file now gives " + statement +
                   ", which the host did not receive";
        case Kind::NoLongerInFile:
            break;
    }
    return "the host received " + statement + ", which the file no longer gives";
}

const char* FileChange::KindName() const {
    switch (kind) {
        case Kind::Value:
            return "value";
        case Kind::NotReceived:
            return "not_received";
        case Kind::NoLongerInFile:
            break;
    }
    return "no_longer_in_file";
}
