#include "Utf8Text.h"

#include <windows.h>

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), converted.data(), size, nullptr, nullptr);
    return converted;
}

std::string FileTextToUtf8(const std::string& text, FileEncoding encoding) {
    const BStr wide = ToBstr(CString(text.c_str()), encoding);
    return Utf8(std::wstring(wide.Get(), SysStringLen(wide.Get())));
}
