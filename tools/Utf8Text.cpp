#include "Utf8Text.h"

#include <windows.h>

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), converted.data(), size, nullptr, nullptr);
    return converted;
}

std::string FileTextToUtf8(const std::string& text, FileEncoding encoding) {
    FileTextConverter converter(encoding);
    const BSTR wide = converter.ToBstr(CString(text.c_str()));
    return Utf8(std::wstring(wide, SysStringLen(wide)));
}

bool ReadsWithoutReplacement(const char* text, int length, FileEncoding encoding) {
    const UINT codePage = encoding == FileEncoding::Utf8 ? CP_UTF8 : CP_ACP;
    return length == 0 || MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, length, nullptr, 0) != 0;
}
