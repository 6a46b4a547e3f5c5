#include "LineFields.h"

#include "Failures.h"
#include "MultibyteText.h"
#include "Platform.h"

#include <cstring>
#include <string>

namespace {

constexpr char kQuote = '"';

// The kept bytes of the field, in order, in its own buffer.
template <typename Drop>
void RemoveWhere(FieldText& field, Drop drop) {
    char* out = field.text;
    for (const char* p = field.text; p != field.text + field.length; ++p)
        if (!drop(*p)) *out++ = *p;
    *out = '\0';
    field.length = static_cast<int>(out - field.text);
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
    FieldText kept{local, static_cast<int>(length)};
    if (length >= sizeof local) {
        large.assign(source, length);
        kept.text = &large[0];
    } else {
        std::memcpy(local, source, length + 1);
    }
    RemoveWhere(kept, drop);
    if (static_cast<size_t>(kept.length) != length) text = kept.text;
}

// True when every byte of `set` is below 0x80: then a multibyte search for
// a byte in it is the plain byte search.
bool IsSingleByteSet(const char* set) {
    for (; *set; ++set)
        if (static_cast<unsigned char>(*set) >= 0x80) return false;
    return true;
}

// Whether the byte `c` (not zero) is one of the bytes of `set`.
bool InSet(const char* set, char c) {
    for (; *set; ++set)
        if (*set == c) return true;
    return false;
}

// RemoveChars for both kinds of text.
template <typename Text>
void RemoveCharsOf(Text& text, const char* set) {
    if (!set) ThrowHResult(E_INVALIDARG);
    if (!*set) return;
    if (IsSingleByteSet(set))
        RemoveWhere(text, [set](char c) { return InSet(set, c); });
    else
        RemoveWhere(text, [set](char c) { return platform::FindFirstMultibyte(set, c) != nullptr; });
}

}  // namespace

LineSplit::LineSplit(const char* line, char separator, int first, bool quoted)
    : m_line(line), m_first(first), m_quoted(quoted) {
    if (!line) return;
    const char* lastUnquoted = nullptr;
    const char* p = line;
    for (char c; (c = *p) != '\0'; ++p) {
        if (c == kQuote) {
            m_quoted = !m_quoted;
            m_quoteBeforeLast = m_lastQuote;
            m_lastQuote = p;
            if (separator == kQuote) m_lastSeparator = p;
        } else if (c == separator) {
            m_lastSeparator = p;
            if (m_quoted) continue;
            ++m_separators;
            const unsigned bound = static_cast<unsigned>(m_separators - first + 1);
            if (bound < kBounds) m_bounds[bound] = p;
            lastUnquoted = p;
        }
    }
    m_end = p;
    m_lastFieldStart = lastUnquoted ? lastUnquoted + 1 : line;
}

int LineSplit::FieldCount() const {
    if (!m_line) return 0;
    return m_quoted ? m_separators : m_separators + 1;
}

// The last field runs from the last separator of the whole line, quoted or
// not. When a quote follows that separator, the last quote closes the field
// and the field starts at the nearest quote before it, searched down to
// position 1 of the line; without one there, it starts where the
// quote-aware walk saw it begin, so it is still the field's own text.
bool LineSplit::LastField(const char*& start, const char*& end) const {
    if (!m_lastSeparator) return false;
    const char* closing = ClosingQuote();
    if (!closing) {
        start = m_lastSeparator + 1;
        end = m_end;
        return true;
    }
    start = m_quoteBeforeLast && m_quoteBeforeLast > m_line ? m_quoteBeforeLast : m_lastFieldStart;
    end = closing + 1;
    return true;
}

const char* LineSplit::ClosingQuote() const {
    return m_lastSeparator && m_lastQuote && m_lastQuote > m_lastSeparator ? m_lastQuote : nullptr;
}

bool LineSplit::Locate(int n, const char*& start, int& length) const {
    if (!m_line || n < 1 || n > m_separators + 1) return false;
    const char* end = nullptr;
    if (n <= m_separators) {
        start = n == 1 ? m_line : Bound(n - 1) + 1;
        end = Bound(n);
    } else if (!LastField(start, end)) {
        return false;
    }
    length = static_cast<int>(end - start);
    return true;
}

int LineSplit::CutFor(int n) const {
    const char* closing = m_line && n == m_separators + 1 ? ClosingQuote() : nullptr;
    return closing ? static_cast<int>(closing + 1 - m_line) : -1;
}

FieldText LineSplit::CopyField(int n, FieldBuffer& buffer) const {
    const char* start = nullptr;
    int length = 0;
    if (!Locate(n, start, length) || length > kMaxFieldLength) return {};
    std::memcpy(buffer, start, static_cast<size_t>(length));
    buffer[length] = '\0';
    return {buffer, length};
}

int CountFields(const char* line, char separator, int& quoted) {
    if (!line) return 0;
    const LineSplit split(line, separator, 1, quoted != 0);
    if (split.EndsQuoted() != (quoted != 0)) quoted = split.EndsQuoted() ? 1 : 0;
    return split.FieldCount();
}

const char* GetField(char* line, char separator, int n, FieldBuffer& buffer) {
    const LineSplit split(line, separator, n);
    const int cut = split.CutFor(n);
    if (cut >= 0) line[cut] = '\0';
    return split.CopyField(n, buffer).text;
}

const char* PeekField(const char* line, char separator, int n, FieldBuffer& buffer) {
    return LineSplit(line, separator, n).CopyField(n, buffer).text;
}

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool EnclosedInQuotes(const char* text, int length) {
    return length >= 2 && text[0] == kQuote && text[length - 1] == kQuote &&
           FindLastCharacter(text, kQuote) == text + length - 1;
}

void StripQuotes(CString& text) {
    const int length = text.GetLength();
    if (EnclosedInQuotes(text.GetText(), length)) text = text.Mid(1, length - 2);
}

void StripQuotes(FieldText& field) {
    if (!EnclosedInQuotes(field.text, field.length)) return;
    field.text[field.length - 1] = '\0';
    ++field.text;
    field.length -= 2;
}

void RemoveWhitespace(CString& text) { RemoveWhere(text, IsWhitespace); }

void RemoveWhitespace(FieldText& field) { RemoveWhere(field, IsWhitespace); }

void RemoveChars(CString& text, CString set) {
    RemoveWhere(text, [&set](char c) { return set.Find(c) != -1; });
}

void RemoveChars(CString& text, const char* set) { RemoveCharsOf(text, set); }

void RemoveChars(FieldText& field, const char* set) { RemoveCharsOf(field, set); }
