#include "StatementLineTexts.h"

#include "CodePages.h"

#include <new>
#include <string>

namespace {

// The type code that marks a cheque line.
constexpr wchar_t kChequeTypeCode[] = L"CHQ";
constexpr int kChequeNumberLength = 6;

}  // namespace

BStr ToBstr(const CString& text, FileEncoding encoding) {
    BStr result = encoding == FileEncoding::Utf8 ? Utf8ToBstr(text.GetText(), text.GetLength())
                                                 : ThreadAnsiToBstr(text.GetText(), text.GetLength());
    if (!result.Get()) throw std::bad_alloc();
    return result;
}

bool IsChequeTypeCode(BSTR typeCode) {
    return typeCode && CompareStringW(LOCALE_USER_DEFAULT, 0, typeCode, -1, kChequeTypeCode, -1) == CSTR_EQUAL;
}

void PadChequeNumber(CString& chequeNumber) {
    const int length = chequeNumber.GetLength();
    if (length >= kChequeNumberLength) return;
    const std::string padded = std::string(static_cast<size_t>(kChequeNumberLength - length), '0') + chequeNumber.GetText();
    chequeNumber = padded.c_str();
}
