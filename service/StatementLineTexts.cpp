#include "StatementLineTexts.h"

#include "CodePages.h"
#include "Failures.h"

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

// The type code that marks a cheque line.
constexpr wchar_t kChequeTypeCode[] = L"CHQ";
constexpr size_t kChequeTypeCodeLength = 3;
constexpr int kChequeNumberLength = 6;

}  // namespace

FileTextConverter::FileTextConverter(FileEncoding encoding)
    : m_encoding(encoding),
      m_widensPlainText(ReadsPlainBytesAsThemselves(encoding == FileEncoding::Utf8 ? CP_UTF8 : CP_ACP)) {}

BSTR FileTextConverter::ToBstr(const CString& text) { return ToBstr(text.GetText(), text.GetLength()); }

BSTR FileTextConverter::ToBstr(const char* text, int length) {
    if (m_widensPlainText && length <= kMostReusedLength) {
        BStr& string = StringOfLength(length);
        if (WidenPlainText(text, length, string.Get())) return string.Get();
    }
    m_converted = m_encoding == FileEncoding::Utf8 ? Utf8ToBstr(text, length) : AnsiToBstr(text, length);
    if (!m_converted.Get()) ThrowOutOfMemory();
    return m_converted.Get();
}

bool FileTextConverter::IsChequeTypeCode(const CString& typeCode) {
    const char* const text = typeCode.GetText();
    const int length = typeCode.GetLength();
    const bool plain = m_widensPlainText && length <= static_cast<int>(kChequeTypeCodeLength) &&
                       std::all_of(text, text + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!plain) return ::IsChequeTypeCode(ToBstr(typeCode));
    return length == static_cast<int>(kChequeTypeCodeLength) && std::equal(text, text + length, kChequeTypeCode);
}

BStr& FileTextConverter::StringOfLength(int length) {
    if (m_byLength.size() <= static_cast<size_t>(length)) m_byLength.resize(static_cast<size_t>(length) + 1);
    BStr& string = m_byLength[static_cast<size_t>(length)];
    if (!string.Get()) string = BStr::Adopt(SysAllocStringLen(nullptr, static_cast<UINT>(length)));
    if (!string.Get()) ThrowOutOfMemory();
    return string;
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

void AssignChequeDescription(std::string& description, const CString& chequeNumber) {
    const int length = chequeNumber.GetLength();
    description.assign("CHQ ");
    if (length < kChequeNumberLength) description.append(static_cast<size_t>(kChequeNumberLength - length), '0');
    description.append(chequeNumber.GetText(), static_cast<size_t>(length));
}
