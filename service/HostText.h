// Texts the host hands over with a length (BSTRs). A host written in an
// older language may hand over a fixed-size buffer, whose text ends in NULs:
// those trailing NULs end the text. A NUL with another character after it
// makes the text ambiguous: the part before it is not the text the host gave.
#pragma once

#include <cstddef>
#include <cwchar>
#include <optional>

// The length of the text without its trailing NULs, or nothing when a NUL
// stands before another character. A null text has length 0.
inline std::optional<std::size_t> HostTextLength(const wchar_t* text, std::size_t length) {
    const wchar_t* const nul = text ? std::wmemchr(text, L'\0', length) : nullptr;
    if (!nul) return text ? length : 0;
    for (const wchar_t* rest = nul; rest != text + length; ++rest)
        if (*rest != L'\0') return std::nullopt;
    return static_cast<std::size_t>(nul - text);
}
