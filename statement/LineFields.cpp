#include "LineFields.h"

#include "Failures.h"
#include "Platform.h"

#include <cstring>
#include <string>
#include <type_traits>

namespace {

constexpr char kQuote = '"';

const char* CopyField(const char* start, size_t length, FieldBuffer& buffer) {
    if (length > static_cast<size_t>(kMaxFieldLength)) return nullptr;
    std::memcpy(buffer, start, length);
    buffer[length] = '\0';
    return buffer;
}

// Nearest quote before `closing`, searched down to position 1 of the line.
const char* OpeningQuoteBefore(const char* line, const char* closing) {
    for (const char* p = closing - 1; p > line; --p)
        if (*p == kQuote) return p;
    return nullptr;
}

// The last field of the line. `fieldStart` is where the quote-aware walk saw
// the field begin; it is used when a closing quote has no opening quote at
// position 1 or later, so the result is still the field's own text. A
// writable line is cut after a closing quote; a const one stays as it is.
template <typename Char>
const char* LastField(Char* line, char separator, Char* fieldStart, FieldBuffer& buffer) {
    Char* lastSeparator = std::strrchr(line, separator);
    if (!lastSeparator) return nullptr;
    Char* closing = std::strrchr(lastSeparator + 1, kQuote);
    if (!closing) return CopyField(lastSeparator + 1, std::strlen(lastSeparator + 1), buffer);
    if constexpr (!std::is_const_v<Char>) closing[1] = '\0';
    const char* opening = OpeningQuoteBefore(line, closing);
    if (!opening) opening = fieldStart;
    return CopyField(opening, static_cast<size_t>(closing - opening) + 1, buffer);
}

// GetField and PeekField: one walk for both kinds of line.
template <typename Char>
const char* FieldOf(Char* line, char separator, int n, FieldBuffer& buffer) {
    if (!line) return nullptr;
    bool quoted = false;
    int separators = 0;
    Char* fieldStart = line;
    for (Char* p = line; *p; ++p) {
        if (*p == kQuote) {
            quoted = !quoted;
        } else if (*p == separator && !quoted) {
            if (++separators == n) return CopyField(fieldStart, static_cast<size_t>(p - fieldStart), buffer);
            fieldStart = p + 1;
        }
    }
    if (separators != n - 1) return nullptr;
    return LastField(line, separator, fieldStart, buffer);
}

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The kept characters are gathered in one buffer of the text's length (on the
// stack for a field-sized text) and assigned once. The result is never longer
// than the text, so the string keeps its buffer and capacity; when nothing is
// dropped the text is left as it is, which is what the assignment would give.
template <typename Drop>
void RemoveWhere(CString& text, Drop drop) {
    const char* source = text.GetText();
    const size_t length = std::strlen(source);
    char local[kMaxFieldLength + 1];
    std::string large;
    char* kept = local;
    if (length >= sizeof local) {
        large.resize(length);
        kept = &large[0];
    }
    char* out = kept;
    for (const char* p = source; *p; ++p)
        if (!drop(*p)) *out++ = *p;
    if (static_cast<size_t>(out - kept) == length) return;
    *out = '\0';
    text = kept;
}

// True when every byte of `set` is below 0x80: then a multibyte search for
// a byte in it is the plain byte search.
bool IsSingleByteSet(const char* set) {
    for (; *set; ++set)
        if (static_cast<unsigned char>(*set) >= 0x80) return false;
    return true;
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

const char* GetField(char* line, char separator, int n, FieldBuffer& buffer) {
    return FieldOf(line, separator, n, buffer);
}

const char* PeekField(const char* line, char separator, int n, FieldBuffer& buffer) {
    return FieldOf(line, separator, n, buffer);
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

void RemoveChars(CString& text, const char* set) {
    if (!set) ThrowHResult(E_INVALIDARG);
    if (!*set) return;
    if (IsSingleByteSet(set))
        RemoveWhere(text, [set](char c) { return std::strchr(set, c) != nullptr; });
    else
        RemoveWhere(text, [set](char c) { return platform::FindFirstMultibyte(set, c) != nullptr; });
}
