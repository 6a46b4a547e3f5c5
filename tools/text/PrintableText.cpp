#include "PrintableText.h"

#include <array>
#include <cstdio>

namespace {

// The second byte of a C1 control character's UTF-8 form follows 0xC2.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1First = 0x80, kC1Last = 0x9F;

bool IsC0Control(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string Escaped(const char* format, unsigned code) {
    char text[8];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

// Characters that reorder or hide text, as ranges of code points.
struct CodePoints {
    char32_t first, last;
};
constexpr std::array<CodePoints, 6> kHidden = {{{0x061C, 0x061C},
                                                {0x200B, 0x200F},
                                                {0x2028, 0x202E},
                                                {0x2060, 0x2060},
                                                {0x2066, 0x2069},
                                                {0xFEFF, 0xFEFF}}};

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point of the well-formed two- or three-byte UTF-8 character at
// `at`, and its length; a length of 0 for anything else (every hidden
// character has two or three bytes).
struct Decoded {
    char32_t code = 0;
    std::size_t length = 0;
};
Decoded DecodeAt(std::string_view utf8, std::size_t at) {
    const auto byte = [&](std::size_t offset) {
        return at + offset < utf8.size() ? static_cast<unsigned char>(utf8[at + offset]) : 0;
    };
    const unsigned char lead = byte(0);
    if ((lead & 0xE0) == 0xC0 && IsContinuation(byte(1))) return {char32_t(lead & 0x1F) << 6 | (byte(1) & 0x3F), 2};
    if ((lead & 0xF0) == 0xE0 && IsContinuation(byte(1)) && IsContinuation(byte(2)))
        return {char32_t(lead & 0x0F) << 12 | char32_t(byte(1) & 0x3F) << 6 | (byte(2) & 0x3F), 3};
    return {};
}

bool IsHidden(char32_t code) {
    for (const CodePoints& range : kHidden)
        if (code >= range.first && code <= range.last) return true;
    return false;
}

// The hidden character that starts at `at`, or a length of 0.
Decoded HiddenAt(std::string_view utf8, std::size_t at) {
    const Decoded decoded = DecodeAt(utf8, at);
    return decoded.length && IsHidden(decoded.code) ? decoded : Decoded();
}

// Control characters: C0 and DEL as \xHH, C1 as \u00HH. Moves `i` past what
// it wrote; false when the character at `i` is none.
bool EscapeControl(std::string_view utf8, std::size_t& i, std::string& shown) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (IsC0Control(c)) {
        shown += Escaped("\\x%02X", c);
        return true;
    }
    if (c == kC1Lead && next >= kC1First && next <= kC1Last) {
        shown += Escaped("\\u00%02X", next);
        ++i;
        return true;
    }
    return false;
}

// Printable ASCII, a space to a tilde: shown as it stands either way.
bool IsPlain(char c) { return c >= 0x20 && c < 0x7F; }

enum class Controls { Escaped, Kept };

// Appends `utf8` with each hidden character as \uHHHH, and each control
// character escaped or kept. A run of printable ASCII is appended whole.
void AppendShown(std::string& shown, std::string_view utf8, Controls controls) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        std::size_t plain = i;
        while (plain < utf8.size() && IsPlain(utf8[plain])) ++plain;
        shown.append(utf8.data() + i, plain - i);
        if (plain == utf8.size()) break;
        i = plain;
        if (const Decoded hidden = HiddenAt(utf8, i); hidden.length) {
            shown += Escaped("\\u%04X", static_cast<unsigned>(hidden.code));
            i += hidden.length - 1;
        } else if (controls == Controls::Kept || !EscapeControl(utf8, i, shown)) {
            shown += utf8[i];
        }
    }
}

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
// What a spreadsheet passes over before a formula's first character.
constexpr std::string_view kBeforeFormula[] = {" ", "\v", kNoBreakSpace};
// The characters that begin a formula: the ASCII ones and the full-width
// =, +, - and @.
constexpr std::string_view kFormulaStarts[] = {"=", "+", "-", "@", "|", "\t", "\r",
                                               "\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0"};

// The length of the first of `prefixes` that `text` begins with, or 0.
template <std::size_t N>
std::size_t PrefixLength(std::string_view text, const std::string_view (&prefixes)[N]) {
    for (const std::string_view prefix : prefixes)
        if (text.substr(0, prefix.size()) == prefix) return prefix.size();
    return 0;
}

// Whether `c` begins any of `prefixes`.
template <std::size_t N>
bool BeginsAny(char c, const std::string_view (&prefixes)[N]) {
    for (const std::string_view prefix : prefixes)
        if (prefix[0] == c) return true;
    return false;
}

// Most texts begin with a byte that begins no prefix, and are answered at once.
bool StartsAFormula(std::string_view text) {
    if (text.empty() || (!BeginsAny(text[0], kBeforeFormula) && !BeginsAny(text[0], kFormulaStarts))) return false;
    while (const std::size_t length = PrefixLength(text, kBeforeFormula)) text.remove_prefix(length);
    return PrefixLength(text, kFormulaStarts) != 0;
}

}  // namespace

void AppendPrintable(std::string& out, std::string_view utf8) { AppendShown(out, utf8, Controls::Escaped); }

std::string Printable(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    AppendPrintable(shown, utf8);
    return shown;
}

void WriteForPeople(std::ostream& out, std::string_view text) { out << Printable(text) << "\n"; }

std::string ShowHiddenCharacters(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    AppendShown(shown, utf8, Controls::Kept);
    return shown;
}

void AppendSpreadsheetCell(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    AppendShown(out, text, Controls::Kept);
    if (StartsAFormula(std::string_view(out).substr(start))) out.insert(start, 1, '\'');
}

std::string SpreadsheetCell(std::string_view text) {
    std::string cell;
    AppendSpreadsheetCell(cell, text);
    return cell;
}
