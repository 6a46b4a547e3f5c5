#include "ChosenPath.h"

#include "CodePages.h"
#include "Failures.h"
#include "HostText.h"

namespace {

constexpr int kMostPathCharacters = MAX_PATH - 1;

// The path as the error's description shows it: each NUL written <NUL>.
std::wstring Shown(const wchar_t* path, std::size_t length) {
    std::wstring shown;
    for (std::size_t index = 0; index < length; ++index)
        shown += path[index] == L'\0' ? std::wstring(L"<NUL>") : std::wstring(1, path[index]);
    return shown;
}

[[noreturn]] void Refuse(unsigned long code, const wchar_t* path, std::size_t length, const std::wstring& cause) {
    ThrowSystemErrorAbout(code, L"The chosen statement file \"" + Shown(path, length) + L"\" " + cause);
}

}  // namespace

ChosenPath::ChosenPath(const wchar_t* path, std::size_t length) {
    const std::optional<std::size_t> textLength = HostTextLength(path, length);
    if (!textLength) Refuse(ERROR_INVALID_NAME, path, length, L"has a NUL character before its end");
    const int characters = static_cast<int>(*textLength);
    const std::wstring limit = std::to_wstring(kMostPathCharacters);
    switch (PathToAnsi(path, characters, m_ansi, MAX_PATH)) {
        case NarrowPath::Converted:
            return;
        case NarrowPath::TooLong:
            Refuse(ERROR_FILENAME_EXCED_RANGE, path, *textLength,
                   L"is longer than a path may be (" + limit + L" bytes in the ANSI code page)");
        case NarrowPath::Unrepresentable:
            break;
    }
    if (characters > kMostPathCharacters)
        Refuse(ERROR_FILENAME_EXCED_RANGE, path, *textLength,
               L"is longer than a path may be (" + limit + L" characters)");
    m_unicode.assign(path, *textLength);
}

StatementPath ChosenPath::Path() const {
    if (m_unicode.empty()) return StatementPath(m_ansi);
    return StatementPath(m_unicode.c_str());
}
