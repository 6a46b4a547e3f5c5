// A stand-in for the statement code's platform seam, used only by the
// benchmark's native reader build when the project has no native platform
// implementation of its own (statement/PlatformNative.cpp). It takes the code
// page to be single-byte and uses the plain byte functions; its calendar
// conversion is a plain day count. Not for tests: good enough to count the
// reader's instructions on well-formed statements.
#include "Platform.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace platform {
namespace {

DebugSink& CurrentSink() {
    static DebugSink sink;
    return sink;
}

long long DaysFromCivil(long long year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

}  // namespace

int WideToAnsi(const wchar_t* text, int length, char* out, int outSize) {
    if (!text || length < 0) return 0;
    if (outSize == 0) return length;
    if (!out || outSize < length) return 0;
    for (int i = 0; i < length; ++i) out[i] = text[i] >= 0 && text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
    return length;
}

int CompareMultibyte(const char* left, const char* right) {
    const int result = std::strcmp(left, right);
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

const char* FindFirstMultibyte(const char* text, char c) { return std::strchr(text, c); }
const char* FindLastMultibyte(const char* text, char c) { return std::strrchr(text, c); }
const char* FindMultibyteText(const char* text, const char* part) { return std::strstr(text, part); }

bool SystemTimeToDate(const SYSTEMTIME& time, DATE& date) {
    if (time.wDay > 31 || time.wMonth < 1 || time.wMonth > 12) return false;
    date = static_cast<DATE>(DaysFromCivil(time.wYear, time.wMonth, 1) + time.wDay - 1 - DaysFromCivil(1899, 12, 30));
    return true;
}

void WriteDebugOutput(const char* text) {
    const DebugSink& sink = CurrentSink();
    if (sink)
        sink(text);
    else
        std::fputs(text, stderr);
}

DebugSink SetDebugSink(DebugSink sink) { return std::exchange(CurrentSink(), std::move(sink)); }

}  // namespace platform
