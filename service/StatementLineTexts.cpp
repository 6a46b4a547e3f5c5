#include "StatementLineTexts.h"

#include "CodePages.h"

#include <algorithm>
#include <cwchar>
#include <new>
#include <string>

namespace {

// The type code that marks a cheque line.
constexpr wchar_t kChequeTypeCode[] = L"CHQ";
constexpr size_t kChequeTypeCodeLength = 3;
constexpr int kChequeNumberLength = 6;

}  // namespace

BStr ToBstr(const CString& text, FileEncoding encoding) {
    BStr result = encoding == FileEncoding::Utf8 ? Utf8ToBstr(text.GetText(), text.GetLength())
                                                 : ThreadAnsiToBstr(text.GetText(), text.GetLength());
    if (!result.Get()) throw std::bad_alloc();
    return result;
}

// The locale's comparison, as a host's user would see it. A type code of at
// most three characters below 0x80 compares equal to "CHQ" exactly when it
// is "CHQ": among those characters none sorts as another, none stands for
// two, and an ignorable one (a control character) leaves too few others to
// make three letters. Such a code (every code the statements write) is
// compared as it stands; the tests check that against the locale's
// comparison for every one of them.
bool IsChequeTypeCode(BSTR typeCode) {
    if (!typeCode) return false;
    const size_t length = wcsnlen(typeCode, kChequeTypeCodeLength + 1);
    if (length <= kChequeTypeCodeLength && std::all_of(typeCode, typeCode + length, [](wchar_t c) { return c < 0x80; }))
        return wcscmp(typeCode, kChequeTypeCode) == 0;
    return CompareStringW(LOCALE_USER_DEFAULT, 0, typeCode, -1, kChequeTypeCode, -1) == CSTR_EQUAL;
}

void PadChequeNumber(CString& chequeNumber) {
    const int length = chequeNumber.GetLength();
    if (length >= kChequeNumberLength) return;
    const std::string padded = std::string(static_cast<size_t>(kChequeNumberLength - length), '0') + chequeNumber.GetText();
    chequeNumber = padded.c_str();
}
