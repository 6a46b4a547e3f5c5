// What the tool says when a file it is given cannot be used: why the
// statement file cannot be read, and a system error's text, in words and
// without the line break the system ends its texts with.
#pragma once

#include <optional>
#include <string>

// The system's text for a system error code (as from GetLastError), in
// UTF-8; empty when the system has none.
std::string SystemText(unsigned long code);

// Why the file at `path` cannot be opened for reading (no such file or
// folder, it is a folder, access is denied, another program holds it, a
// name Windows refuses, or the system's text), or nothing when it can.
// A name that ends in spaces or dots, which Windows leaves out of a file's
// name, says so and which file was looked for instead.
std::optional<std::string> WhyUnreadable(const std::wstring& path);
