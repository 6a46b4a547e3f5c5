#include "ReportFileWriter.h"

#include "ResourceHolders.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

// The file's identity (volume and index), for two names of one file.
std::optional<std::pair<DWORD, ULONGLONG>> FileIdentity(const std::wstring& path) {
    const FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file.Get(), &information)) return std::nullopt;
    return std::make_pair(information.dwVolumeSerialNumber,
                          (static_cast<ULONGLONG>(information.nFileIndexHigh) << 32) | information.nFileIndexLow);
}

std::string SystemText(int error) { return error ? std::strerror(error) : "the file could not be written"; }

}  // namespace

std::optional<std::string> WriteReportFile(const std::wstring& path, const std::wstring& statement,
                                           const std::function<void(std::ostream&)>& write) {
    const auto identity = FileIdentity(path);
    if (identity && identity == FileIdentity(statement)) return std::string("it is the statement file");
    errno = 0;
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    if (!out) return SystemText(errno);
    write(out);
    out.close();
    if (out) return std::nullopt;
    const int error = errno;
    DeleteFileW(path.c_str());
    return SystemText(error);
}
