#include "StatementFileRecognizer.h"

#include "OrvaleOnlineForBusinessFile.h"

#include <cstring>

namespace {
constexpr char kFormatTitle[] = "Orvale Online For Business - Statement";
}

int RecognizeStatementFile(char* title, const char* path) {
    if (!title || !path) return 0;
    const OrvaleOnlineForBusinessFile reader(path, std::ios::in);
    if (!reader.IsValid()) return 0;
    std::memcpy(title, kFormatTitle, sizeof kFormatTitle);
    return 1;
}
