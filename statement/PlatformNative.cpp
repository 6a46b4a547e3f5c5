// Native (non-Windows) stand-ins for the statement code's platform seam, so
// that statement/ builds and runs on Linux under the sanitizers and the
// fuzzer. They are deliberately small and do not try to reproduce the
// platform exactly:
// - the ANSI code page is taken to be a single-byte one: a wide character up
//   to U+00FF becomes that byte, any other becomes '?';
// - the multibyte comparison and searches are the plain byte functions
//   (right for every single-byte code page);
// - the calendar conversion is our own (see SystemTimeToDate);
// - diagnostics go to standard error unless a sink is set.
#include "Platform.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace platform {
namespace {

// Days from 1 January 1970 to the given date of the proleptic Gregorian
// calendar (the usual era-based count; `month` 1 to 12).
long long DaysFromCivil(long long year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

int WideToAnsi(const wchar_t* text, int length, char* out, int outSize) {
    if (!text || length < 0) return 0;
    if (outSize == 0) return length;  // one byte per character
    if (!out || outSize < length) return 0;
    for (int i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        out[i] = c >= 0 && c <= 0xFF ? static_cast<char>(static_cast<unsigned char>(c)) : '?';
    }
    return length;
}

int CompareMultibyte(const char* left, const char* right) {
    const int result = std::strcmp(left, right);
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

const char* FindFirstMultibyte(const char* text, char c) { return std::strchr(text, c); }

const char* FindLastMultibyte(const char* text, char c) { return std::strrchr(text, c); }

const char* FindMultibyteText(const char* text, const char* part) { return std::strstr(text, part); }

// Days since 30 December 1899 of the calendar date, with the time of day
// ignored. Refuses a day above 31, a month above 12 and a year above 9999.
// Where it cannot match the platform exactly: a month of 0 is read as
// December of the year before (as Wine does), a day of 0 or a day past the
// end of the month rolls into the neighbouring month, and years below 100 are
// taken literally (the platforms apply their own two-digit windows, which the
// callers avoid by passing full years). Windows' own range and normalisation
// rules for such dates differ in details, so the native tests check safety,
// not the date values.
bool SystemTimeToDate(const SYSTEMTIME& time, DATE& date) {
    if (time.wDay > 31 || time.wMonth > 12 || time.wYear > 9999) return false;
    long long year = time.wYear;
    int month = time.wMonth;
    if (month == 0) {
        month = 12;
        --year;
    }
    const long long days = DaysFromCivil(year, month, 1) + time.wDay - 1;
    const long long oleEpoch = DaysFromCivil(1899, 12, 30);
    date = static_cast<DATE>(days - oleEpoch);
    return true;
}

void WriteToDebugger(const char* text) { std::fputs(text, stderr); }

}  // namespace platform
