#include "DebugOutputCapture.h"

#include <cstring>

namespace {

std::vector<std::string>& CapturedTexts() {
    static std::vector<std::string> texts;
    return texts;
}

LONG CALLBACK CaptureDebugOutput(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    if (record->ExceptionCode != DBG_PRINTEXCEPTION_C || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    const size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
    CapturedTexts().emplace_back(text, text ? strnlen(text, length) : 0);
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() : m_handler(AddVectoredExceptionHandler(1, CaptureDebugOutput)) {}

DebugOutputCapture::~DebugOutputCapture() {
    if (m_handler) RemoveVectoredExceptionHandler(m_handler);
}

const std::vector<std::string>& DebugOutputCapture::Texts() const { return CapturedTexts(); }
