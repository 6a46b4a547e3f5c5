#include "CodePages.h"

#include <cstdlib>
#include <cwchar>

namespace {

// Narrow text of `length` bytes as a new BSTR, converted from `codePage`. A
// short text is converted once, into a buffer on the stack (no character
// takes fewer bytes than wide characters, so the buffer is large enough;
// were it not, the conversion would fail and the text would take the long
// way); a longer one is measured first, then converted into the BSTR.
BStr NarrowToBstr(UINT codePage, const char* text, int length) {
    constexpr int kShortText = 512;
    if (length > 0 && length <= kShortText) {
        wchar_t wide[kShortText];
        const int converted = MultiByteToWideChar(codePage, 0, text, length, wide, kShortText);
        if (converted > 0) return BStr::Adopt(SysAllocStringLen(wide, static_cast<UINT>(converted)));
    }
    const int wide = length > 0 ? MultiByteToWideChar(codePage, 0, text, length, nullptr, 0) : 0;
    BStr result = BStr::Adopt(SysAllocStringLen(nullptr, static_cast<UINT>(wide)));
    if (result.Get() && wide > 0) MultiByteToWideChar(codePage, 0, text, length, result.Get(), wide);
    return result;
}

bool NarrowToWide(UINT codePage, const char* text, std::wstring& wide) {
    const int size = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (size <= 0) return false;
    wide.assign(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage, 0, text, -1, &wide[0], size) != size) return false;
    wide.pop_back();
    return true;
}

bool WideToNarrow(UINT codePage, const wchar_t* text, std::string& narrow) {
    const int size = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    narrow.assign(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, 0, text, -1, &narrow[0], size, nullptr, nullptr) != size) return false;
    narrow.pop_back();
    return true;
}

// Code pages whose conversions take no flags at all.
bool TakesNoFlags(UINT codePage) {
    return codePage == 42 || (codePage >= 50220 && codePage <= 50229) || (codePage >= 57002 && codePage <= 57011) ||
           codePage == CP_UTF7;
}

// Whether `narrow` reads back as exactly `wide`: the check for code pages
// that cannot be asked to refuse what they cannot represent.
bool ReadsBackAs(UINT codePage, const char* narrow, int narrowLength, const wchar_t* wide, int length) {
    const int size = MultiByteToWideChar(codePage, 0, narrow, narrowLength, nullptr, 0);
    if (size != length) return false;
    std::wstring back(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, narrow, narrowLength, &back[0], size);
    return back.compare(0, back.size(), wide, static_cast<size_t>(length)) == 0;
}

}  // namespace

BStr Utf8ToBstr(const char* text, int length) { return NarrowToBstr(CP_UTF8, text, length); }

BStr AnsiToBstr(const char* text, int length) { return NarrowToBstr(CP_ACP, text, length); }

bool AnsiToWide(const char* text, std::wstring& wide) { return NarrowToWide(CP_ACP, text, wide); }

bool ReadsPlainBytesAsThemselves(unsigned codePage) {
    constexpr int kPlainBytes = 0x7F;  // 1 to 0x7F
    char bytes[kPlainBytes];
    wchar_t wide[kPlainBytes];
    for (int i = 0; i < kPlainBytes; ++i) bytes[i] = static_cast<char>(i + 1);
    if (MultiByteToWideChar(codePage, 0, bytes, kPlainBytes, wide, kPlainBytes) != kPlainBytes) return false;
    for (int i = 0; i < kPlainBytes; ++i)
        if (wide[i] != static_cast<wchar_t>(i + 1)) return false;
    return true;
}

bool WidenPlainText(const char* text, int length, wchar_t* wide) {
    for (int i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) return false;
        wide[i] = byte;
    }
    return true;
}

bool WideToAnsi(const wchar_t* text, std::string& narrow) { return WideToNarrow(CP_ACP, text, narrow); }

std::string WideToUtf8(const wchar_t* text, std::size_t length) {
    if (length == 0) return {};
    const int wideLength = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, wideLength, converted.data(), size, nullptr, nullptr);
    return converted;
}

int WideToAnsi(const wchar_t* text, int length, char* out, int outSize) {
    return WideCharToMultiByte(CP_ACP, 0, text, length, out, outSize, nullptr, nullptr);
}

StrictConversion StrictConversionFor(unsigned codePage) {
    if (codePage == CP_UTF8) return {WC_ERR_INVALID_CHARS, false};
    if (TakesNoFlags(codePage)) return {0, false};
    return {WC_NO_BEST_FIT_CHARS, true};
}

NarrowPath PathToCodePage(unsigned codePage, const wchar_t* path, int length, char* out, int outSize) {
    if (length <= 0) {
        if (outSize > 0) out[0] = '\0';
        return outSize > 0 ? NarrowPath::Converted : NarrowPath::TooLong;
    }
    const StrictConversion strict = StrictConversionFor(codePage);
    BOOL lossy = FALSE;
    const int needed = WideCharToMultiByte(codePage, strict.flags, path, length, nullptr, 0, nullptr,
                                           strict.reportsDefaultCharacter ? &lossy : nullptr);
    if (lossy || needed <= 0) return NarrowPath::Unrepresentable;
    if (needed >= outSize) return NarrowPath::TooLong;
    WideCharToMultiByte(codePage, strict.flags, path, length, out, needed, nullptr, nullptr);
    out[needed] = '\0';
    if (strict.flags == 0 && !ReadsBackAs(codePage, out, needed, path, length)) return NarrowPath::Unrepresentable;
    return NarrowPath::Converted;
}

NarrowPath PathToAnsi(const wchar_t* path, int length, char* out, int outSize) {
    return PathToCodePage(GetACP(), path, length, out, outSize);
}

bool HostTextToNarrow(const wchar_t* text, char* out, std::size_t outSize) {
    if (!text || outSize == 0) return false;
    const size_t written = std::wcstombs(out, text, outSize - 1);
    if (written == static_cast<size_t>(-1)) return false;
    out[written] = '\0';
    return true;
}
