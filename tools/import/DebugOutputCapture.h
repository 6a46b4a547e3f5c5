// Collects what this process writes to the debugger output (the module's
// diagnostic texts) while an instance lives. OutputDebugStringA raises a
// DBG_PRINTEXCEPTION_C carrying the text; a first vectored handler takes the
// text and lets the program continue.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class DebugOutputCapture {
public:
    DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    ~DebugOutputCapture();

    const std::vector<std::string>& Texts() const;

private:
    void* m_handler;
};
