// Helpers shared by the statement tests: capturing what the reader writes to
// the debugger output, fixture paths, scratch files and printable labels.
#pragma once

#include "Platform.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <unistd.h>

#include <ctime>
#include <filesystem>
#endif

// The few operating-system calls the scratch files need, on Windows and in
// the native (sanitizer) build.
namespace scratch {
#ifdef _WIN32
inline std::string TempDirectory() {
    char directory[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, directory);
    return directory;
}
inline unsigned long ProcessId() { return GetCurrentProcessId(); }
inline void Delete(const std::string& path) { DeleteFileA(path.c_str()); }
inline unsigned AnsiCodePage() { return GetACP(); }
#else
inline std::string TempDirectory() { return std::filesystem::temp_directory_path().string() + "/"; }
inline unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }
inline void Delete(const std::string& path) { std::remove(path.c_str()); }
// The native stand-in (PlatformNative.cpp) maps U+0000 to U+00FF to the byte
// of the same value, which agrees with code page 1252 outside 0x80 to 0x9F.
inline unsigned AnsiCodePage() { return 1252; }
#endif
}  // namespace scratch

// The DATE of a calendar date as the platform gives it, for expected values:
// the OLE Automation conversion on Windows; elsewhere the C library's count
// of days since 1 January 1970, which is day 25569 of the DATE count.
inline DATE PlatformDate(int year, int month, int day) {
#ifdef _WIN32
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    DATE date = 0;
    return SystemTimeToVariantTime(&time, &date) ? date : 0;
#else
    constexpr long kDaysBeforeUnixEpoch = 25569;
    constexpr long kSecondsPerDay = 86400;
    std::tm time = {};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    return static_cast<DATE>(static_cast<long>(timegm(&time) / kSecondsPerDay) + kDaysBeforeUnixEpoch);
#endif
}

// Collects every diagnostic write while it lives; restores the previous sink.
class DebugCapture {
public:
    DebugCapture() : m_previous(platform::SetDebugSink([this](const char* text) { m_texts.emplace_back(text); })) {}
    ~DebugCapture() { platform::SetDebugSink(std::move(m_previous)); }
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;
    const std::vector<std::string>& Texts() const { return m_texts; }
    void Clear() { m_texts.clear(); }

private:
    std::vector<std::string> m_texts;
    platform::DebugSink m_previous;
};

inline std::string FixturePath(const char* name) { return std::string(PENDREL_FIXTURES_DIR "/") + name; }

// A file in the temp directory holding exactly `bytes`, deleted when
// the object goes away.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& bytes) {
        static int s_counter = 0;
        m_path = scratch::TempDirectory() + "pendrel_statement_" + std::to_string(scratch::ProcessId()) + "_" +
                 std::to_string(++s_counter) + ".csv";
        if (FILE* file = std::fopen(m_path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    ~ScratchFile() { scratch::Delete(m_path); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

// A test input as a printable label: control and non-ASCII bytes escaped.
inline std::string Printable(const std::string& text) {
    std::string label;
    for (const char c : text) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        label += c >= 0x20 && c < 0x7f ? std::string(1, c) : std::string(escaped);
    }
    return label;
}
