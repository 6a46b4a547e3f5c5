#include "LineFields.h"

#include "Failures.h"
#include "MultibyteText.h"
#include "Platform.h"
#include "StatementFormat.h"
#include "ByteCopy.h"
#include "WordSearch.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr char kQuote = '"';

// The kept characters are gathered in one buffer of the text's length and
// assigned once. The result is never longer than the text, so the string
// keeps its buffer and capacity; when nothing is dropped the text is left as
// it is, which is what the assignment would give.
template <typename Drop>
void RemoveWhere(CString& text, Drop drop) {
    const FieldSpan whole{text.GetText(), text.GetLength()};
    TextBuffer kept(static_cast<std::size_t>(whole.length));
    const int length = CopyWithout(whole, kept.Get(), drop);
    if (length == whole.length) return;
    kept.Get()[length] = '\0';
    text = kept.Get();
}

// True when every byte of `set` is below 0x80: then a multibyte search for
// a byte in it is the plain byte search.
bool IsSingleByteSet(const char* set) {
    for (; *set; ++set)
        if (static_cast<unsigned char>(*set) >= 0x80) return false;
    return true;
}

// The bytes of a set, one bit each, so that a byte is looked up at once.
class ByteSet {
public:
    explicit ByteSet(const char* set) {
        for (; *set; ++set) {
            const unsigned char c = static_cast<unsigned char>(*set);
            m_bits[c / 64] |= std::uint64_t(1) << (c % 64);
        }
    }
    bool Has(char c) const {
        const unsigned char byte = static_cast<unsigned char>(c);
        return (m_bits[byte / 64] >> (byte % 64)) & 1;
    }

private:
    std::uint64_t m_bits[4] = {};
};

}  // namespace

LineSplit::LineSplit(const char* line, char separator, int first, bool quoted)
    : LineSplit(line, line ? std::strlen(line) : 0, separator, first, quoted) {}

LineSplit::LineSplit(const char* line, std::size_t length, char separator, int first, bool quoted)
    : m_line(line), m_lastFieldStart(line), m_first(first), m_separator(separator), m_quoted(quoted) {
    if (line) m_end = Walk(line, line + length);
}

// A block at a time (WordSearch.h). The quotes and separators of a block
// are marked at once, up to its first zero byte; the running parity of the
// quote marks, turned over when the block starts quoted, marks the bytes
// inside quotes, so the separators that count are found without looking at
// the quotes one by one, and only they are taken one by one. The last
// quotes and the last separator are the highest marks. The last bytes go as
// a block of their own, padded with zeros, the first of which stands where
// the line's terminator does. The high bytes of every block read are
// gathered in `high`, which then tells whether the line has a byte of 0x80
// or above (the bytes of a block after a zero byte count too, which can only
// make the answer "not known"). The state is kept in locals and stored once
// at the end. `end` must point at a zero byte.
const char* LineSplit::Walk(const char* p, const char* end) {
    using namespace word_search;
    const bool separatorIsQuote = m_separator == kQuote;
    bool quoted = m_quoted;
    int separators = 0;
    const char* lastQuote = nullptr;
    const char* quoteBeforeLast = nullptr;
    const char* lastSeparator = nullptr;
    const char* lastFieldStart = m_line;
    const Block quoteBytes = Repeated(kQuote), separatorBytes = Repeated(m_separator);
    Marks high = 0;
    char last[kBytes];
    for (; p != end; p += kBytes) {
        const char* bytes = p;
        if (end - p < static_cast<std::ptrdiff_t>(kBytes)) {
            std::memset(last, 0, kBytes);
            byte_copy::Move(last, p, static_cast<int>(end - p));
            bytes = last;
        }
        const Block block = Load(bytes);
        high |= HighBytes(block);
        const Marks zeros = ZeroBytes(block);
        const Marks beforeZero = zeros ? (zeros & (~zeros + 1)) - 1 : ~Marks(0);
        const Marks quotes = EqualBytes(block, quoteBytes) & beforeZero;
        const Marks separatorMarks = separatorIsQuote ? quotes : EqualBytes(block, separatorBytes) & beforeZero;
        if (separatorMarks) lastSeparator = p + LastMarked(separatorMarks);
        Marks counted = separatorIsQuote || quoted ? 0 : separatorMarks;
        if (quotes) {
            const Marks quoteParity = RunningParity(quotes);
            counted = separatorIsQuote ? 0 : separatorMarks & ~(quoteParity ^ (quoted ? kAllMarks : 0));
            const int top = LastMarked(quotes);
            const Marks rest = quotes & ~MarkAt(top);
            quoteBeforeLast = rest ? p + LastMarked(rest) : lastQuote;
            lastQuote = p + top;
            quoted = quoted != ((quoteParity & kLastMark) != 0);
        }
        for (; counted; counted &= counted - 1) {
            const char* at = p + FirstMarked(counted);
            const unsigned bound = static_cast<unsigned>(++separators - m_first + 1);
            if (bound < kBounds) m_bounds[bound] = at;
            lastFieldStart = at + 1;
        }
        if (zeros) {
            end = p + FirstMarked(zeros);
            break;
        }
    }
    m_quoted = quoted;
    m_separators = separators;
    m_lastQuote = lastQuote;
    m_quoteBeforeLast = quoteBeforeLast;
    m_lastSeparator = lastSeparator;
    m_lastFieldStart = lastFieldStart;
    m_singleByte = high == 0;
    return end;
}

// The last field runs from the last separator of the whole line, quoted or
// not. When a quote follows that separator, the last quote closes the field
// and the field starts at the nearest quote before it, searched down to
// position 1 of the line; without one there, it starts where the
// quote-aware walk saw it begin, so it is still the field's own text.
FieldSpan LineSplit::LastField() const {
    if (!m_lastSeparator) return {};
    const char* closing = ClosingQuote();
    if (!closing) return {m_lastSeparator + 1, static_cast<int>(m_end - m_lastSeparator - 1)};
    const char* start = m_quoteBeforeLast && m_quoteBeforeLast > m_line ? m_quoteBeforeLast : m_lastFieldStart;
    return {start, static_cast<int>(closing + 1 - start)};
}

const char* LineSplit::ClosingQuote() const {
    return m_lastSeparator && m_lastQuote && m_lastQuote > m_lastSeparator ? m_lastQuote : nullptr;
}

int CountFields(const char* line, char separator, int& quoted) {
    if (!line) return 0;
    const LineSplit split(line, separator, 1, quoted != 0);
    if (split.EndsQuoted() != (quoted != 0)) quoted = split.EndsQuoted() ? 1 : 0;
    return split.FieldCount();
}

const char* GetField(char* line, char separator, int n, FieldBuffer& buffer) {
    return CopyField(TakeField(line, LineSplit(line, separator, n), n), buffer);
}

const char* PeekField(const char* line, char separator, int n, FieldBuffer& buffer) {
    return CopyField(LineSplit(line, separator, n).Field(n), buffer);
}

const char* CopyField(FieldSpan field, FieldBuffer& buffer) {
    if (!field.text || field.length > kMaxFieldLength) return nullptr;
    std::memcpy(buffer, field.text, static_cast<std::size_t>(field.length));
    buffer[field.length] = '\0';
    return buffer;
}

// The last byte is a quote of its own unless an earlier byte may have begun
// a double-byte character; the platform says, on a terminated copy.
bool QuoteEndsField(FieldSpan field) {
    TextBuffer copy(static_cast<std::size_t>(field.length));
    std::memcpy(copy.Get(), field.text, static_cast<std::size_t>(field.length));
    copy.Get()[field.length] = '\0';
    return FindLastCharacter(copy.Get(), kQuote) == copy.Get() + field.length - 1;
}

void StripQuotes(CString& text) {
    const int length = text.GetLength();
    if (Unquoted({text.GetText(), length}, false).length != length) text = text.Mid(1, length - 2);
}

void RemoveWhitespace(CString& text) {
    RemoveWhere(text, [](char c) { return IsWhitespace(c); });
}

void RemoveChars(CString& text, CString set) {
    RemoveWhere(text, [&set](char c) { return set.Find(c) != -1; });
}

void RemoveChars(CString& text, const char* set) {
    if (!set) ThrowHResult(E_INVALIDARG);
    if (!*set) return;
    if (IsSingleByteSet(set))
        RemoveWhere(text, [bytes = ByteSet(set)](char c) { return bytes.Has(c); });
    else
        RemoveWhere(text, [set](char c) { return platform::FindFirstMultibyte(set, c) != nullptr; });
}
