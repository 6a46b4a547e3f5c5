#include "HostStrings.h"

#include "CodePages.h"

#include <new>

namespace reference_host {

std::string Utf8FromAnsi(const char* text, std::size_t length) {
    if (length == 0) return {};
    const int narrowLength = static_cast<int>(length);
    const int size = MultiByteToWideChar(CP_ACP, 0, text, narrowLength, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, narrowLength, wide.data(), size);
    return WideToUtf8(wide.data(), wide.size());
}

std::string AnsiFromWide(const std::wstring& text) {
    if (text.empty()) return {};
    const int wideLength = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, result.data(), size, nullptr, nullptr);
    return result;
}

std::optional<std::wstring> WideFromBstr(BSTR text) {
    if (!text) return std::nullopt;
    return std::wstring(text, SysStringLen(text));
}

HRESULT CopyToBstr(const std::optional<std::wstring>& text, BSTR* out) {
    *out = nullptr;
    if (!text) return S_OK;
    *out = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT CopyToBstr(const BStr& text, BSTR* out) {
    *out = nullptr;
    if (!text.Get()) return S_OK;
    *out = SysAllocStringLen(text.Get(), text.Length());
    return *out ? S_OK : E_OUTOFMEMORY;
}

BStr CopyOf(BSTR text) {
    if (!text) return BStr();
    BStr copy = BStr::Adopt(SysAllocStringLen(text, SysStringLen(text)));
    if (!copy.Get()) throw std::bad_alloc();
    return copy;
}

}  // namespace reference_host
