#include "PrintableText.h"

#include <cstdio>

namespace {

// The second byte of a C1 control character's UTF-8 form follows 0xC2.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1First = 0x80, kC1Last = 0x9F;

bool IsC0Control(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string Escaped(const char* format, unsigned char code) {
    char text[8];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

}  // namespace

std::string Printable(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (IsC0Control(c)) {
            shown += Escaped("\\x%02X", c);
        } else if (c == kC1Lead && next >= kC1First && next <= kC1Last) {
            shown += Escaped("\\u00%02X", next);
            ++i;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::string SpreadsheetCell(std::string_view text) {
    const bool formula = !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    return (formula ? "'" : "") + std::string(text);
}
