#include "FileProblems.h"

#include "CodePages.h"
#include "ErrorReporting.h"
#include "ResourceHolders.h"
#include "Utf8Text.h"

#include <windows.h>

namespace {

std::string ReasonOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return "no such file";
        case ERROR_PATH_NOT_FOUND:
            return "no such folder";
        case ERROR_ACCESS_DENIED:
            return "access is denied";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "another program holds it";
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return "Windows refuses the name";
        default:
            return SystemText(error);
    }
}

// The spaces and dots that end the last name of `path`, when something
// else comes before them in that name.
std::wstring EndingDropped(const std::wstring& path) {
    const std::size_t nameStart = path.find_last_of(L"\\/:") + 1;
    const std::size_t kept = path.find_last_not_of(L" .");
    if (kept == std::wstring::npos || kept < nameStart || kept + 1 == path.size()) return L"";
    return path.substr(kept + 1);
}

}  // namespace

std::string SystemText(unsigned long code) {
    const BStr text = SystemErrorText(code, FormatMessageA);
    return text.Get() ? WideToUtf8(text.Get(), text.Length()) : std::string();
}

std::optional<std::string> WhyUnreadable(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    std::string reason;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = "it is a folder";
    } else {
        const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return std::nullopt;
        reason = ReasonOf(GetLastError());
    }
    const std::wstring dropped = EndingDropped(path);
    if (dropped.empty()) return reason;
    return reason + " (the name ends in \"" + Utf8(dropped) + "\", which Windows leaves out of file names: it looked for \"" +
           Utf8(path.substr(0, path.size() - dropped.size())) + "\")";
}
