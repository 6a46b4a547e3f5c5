#include "LineFields.h"

#include <cstring>
#include <string>

namespace {

constexpr char kQuote = '"';

char s_fieldBuffer[kMaxFieldLength + 1];

const char* CopyField(const char* start, size_t length) {
    if (length > static_cast<size_t>(kMaxFieldLength)) return nullptr;
    std::memcpy(s_fieldBuffer, start, length);
    s_fieldBuffer[length] = '\0';
    return s_fieldBuffer;
}

// Nearest quote before `closing`, searched down to position 1 of the line.
const char* OpeningQuoteBefore(const char* line, const char* closing) {
    for (const char* p = closing - 1; p > line; --p)
        if (*p == kQuote) return p;
    return nullptr;
}

// The last field of the line. `fieldStart` is where the quote-aware walk saw
// the field begin; it is used when a closing quote has no opening quote at
// position 1 or later, so the result is still the field's own text.
const char* LastField(char* line, char separator, char* fieldStart) {
    char* lastSeparator = std::strrchr(line, separator);
    if (!lastSeparator) return nullptr;
    char* closing = std::strrchr(lastSeparator + 1, kQuote);
    if (!closing) return CopyField(lastSeparator + 1, std::strlen(lastSeparator + 1));
    closing[1] = '\0';
    const char* opening = OpeningQuoteBefore(line, closing);
    if (!opening) opening = fieldStart;
    return CopyField(opening, static_cast<size_t>(closing - opening) + 1);
}

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <typename Drop>
void RemoveWhere(CString& text, Drop drop) {
    std::string kept;
    for (const char* p = text.GetText(); *p; ++p)
        if (!drop(*p)) kept += *p;
    text = kept.c_str();
}

}  // namespace

int CountFields(const char* line, char separator, int& quoted) {
    if (!line) return 0;
    int count = 1;
    for (; *line; ++line) {
        if (*line == kQuote)
            quoted = quoted ? 0 : 1;
        else if (*line == separator && !quoted)
            ++count;
    }
    return quoted ? count - 1 : count;
}

const char* GetField(char* line, char separator, int n) {
    if (!line) return nullptr;
    bool quoted = false;
    int separators = 0;
    char* fieldStart = line;
    for (char* p = line; *p; ++p) {
        if (*p == kQuote) {
            quoted = !quoted;
        } else if (*p == separator && !quoted) {
            if (++separators == n) return CopyField(fieldStart, static_cast<size_t>(p - fieldStart));
            fieldStart = p + 1;
        }
    }
    if (separators != n - 1) return nullptr;
    return LastField(line, separator, fieldStart);
}

void StripQuotes(CString& text) {
    const int length = text.GetLength();
    if (length >= 2 && text.Find(kQuote) == 0 && text.ReverseFind(kQuote) == length - 1)
        text = text.Mid(1, length - 2);
}

void RemoveWhitespace(CString& text) { RemoveWhere(text, IsWhitespace); }

void RemoveChars(CString& text, CString set) {
    RemoveWhere(text, [&set](char c) { return set.Find(c) != -1; });
}
