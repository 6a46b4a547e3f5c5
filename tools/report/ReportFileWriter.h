// Writing the HTML report to the file the user named. A report that cannot
// be written (no such folder, no permission, a full disk) leaves no partial
// file behind and is said in one line; a report is never written over the
// statement file itself.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

// Writes to `path` what `write` writes; returns why it could not, or nothing.
std::optional<std::string> WriteReportFile(const std::wstring& path, const std::wstring& statement,
                                           const std::function<void(std::ostream&)>& write);
