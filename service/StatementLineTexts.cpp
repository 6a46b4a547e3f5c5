#include "StatementLineTexts.h"

#include <new>
#include <string>

namespace {

// The type code that marks a cheque line.
constexpr wchar_t kChequeTypeCode[] = L"CHQ";
constexpr int kChequeNumberLength = 6;

}  // namespace

BStr ToBstr(const CString& text) {
    const int length = text.GetLength();
    const int wide = length ? MultiByteToWideChar(CP_THREAD_ACP, 0, text.GetText(), length, nullptr, 0) : 0;
    BStr result = BStr::Adopt(SysAllocStringLen(nullptr, static_cast<UINT>(wide)));
    if (!result.Get()) throw std::bad_alloc();
    if (wide) MultiByteToWideChar(CP_THREAD_ACP, 0, text.GetText(), length, result.Get(), wide);
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
