// Helpers shared by the statement tests: capturing what the reader writes to
// the debugger output, fixture paths, scratch files and printable labels.
#pragma once

#include "Platform.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

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

// A file in the Windows temp directory holding exactly `bytes`, deleted when
// the object goes away.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& bytes) {
        static int s_counter = 0;
        char directory[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, directory);
        m_path = std::string(directory) + "pendrel_statement_" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(++s_counter) + ".csv";
        if (FILE* file = std::fopen(m_path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    ~ScratchFile() { DeleteFileA(m_path.c_str()); }
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
