#include "Utf8Text.h"

#include "CodePages.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

std::string Utf8OfBstr(BSTR text) { return WideToUtf8(text, SysStringLen(text)); }

}  // namespace

std::string Utf8(const std::wstring& text) { return WideToUtf8(text.data(), text.size()); }

bool ReadsWithoutReplacement(const char* text, int length, FileEncoding encoding) {
    const UINT codePage = encoding == FileEncoding::Utf8 ? CP_UTF8 : CP_ACP;
    return length == 0 || MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, length, nullptr, 0) != 0;
}

FileTextToUtf8::FileTextToUtf8(FileEncoding encoding)
    : m_encoding(encoding),
      m_texts(encoding),
      m_readsPlainBytesAsThemselves(ReadsPlainBytesAsThemselves(encoding == FileEncoding::Utf8 ? CP_UTF8 : CP_ACP)) {}

void FileTextToUtf8::Assign(std::string& utf8, const char* text, int length) {
    if (IsPlain(text, length)) {
        utf8.clear();
        utf8.append(text, static_cast<size_t>(length));
    } else {
        utf8 = Utf8OfBstr(m_texts.ToBstr(text, length));
    }
}

std::string FileTextToUtf8::Of(const char* text, int length) {
    std::string utf8;
    Assign(utf8, text, length);
    return utf8;
}

void FileTextToUtf8::InPlace(std::string& text) {
    const int length = static_cast<int>(text.size());
    if (!IsPlain(text.data(), length)) text = Utf8OfBstr(m_texts.ToBstr(text.data(), length));
}

bool FileTextToUtf8::ReadsWhole(const char* text, int length) const {
    return IsPlain(text, length) || ReadsWithoutReplacement(text, length, m_encoding);
}

// Eight bytes at a time, then the rest one by one.
bool FileTextToUtf8::IsPlain(const char* text, int length) const {
    if (!m_readsPlainBytesAsThemselves) return false;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    int index = 0;
    for (; index + 8 <= length; index += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, text + index, sizeof eight);
        if (eight & kHighBits) return false;
    }
    for (; index < length; ++index)
        if (static_cast<unsigned char>(text[index]) >= 0x80) return false;
    return true;
}
