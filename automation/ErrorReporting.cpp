#include "ErrorReporting.h"

#include "CodePages.h"
#include "Failures.h"
#include "ResourceHolders.h"

#include <cwchar>

const ErrorText ErrorTextTable[] = {
    {E_UNEXPECTED, L"Unexpected result"},
    {E_OUTOFMEMORY, L"Out of Memory"},
    {E_INVALIDARG, L"Invalid argument"},
    {E_NOTIMPL, L"Not implemented"},
    {E_NOINTERFACE, L"Interface not supported"},
    {0, nullptr},
};

namespace {

std::size_t FindErrorText(HRESULT hr) {
    for (std::size_t index = 0; ErrorTextTable[index].m_code != 0; ++index) {
        if (ErrorTextTable[index].m_code == hr) return index;
    }
    return 0;
}

// The text `formatMessage` gives for `code` in one language, as wide text:
// empty when it has none, null when memory runs out.
BStr SystemErrorTextIn(unsigned long code, DWORD language, MessageFunction formatMessage) {
    LocalMemory buffer;
    const DWORD flags =
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
    // With ALLOCATE_BUFFER the "buffer" argument receives the address of the
    // buffer the system allocates; LocalMemory frees it.
    DWORD length = formatMessage(flags, nullptr, code, language, reinterpret_cast<LPSTR>(buffer.Put()), 0, nullptr);
    const char* text = static_cast<const char*>(buffer.Get());
    if (!text) length = 0;
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
    return AnsiToBstr(text, static_cast<int>(length));
}

// A new error object that carries nothing yet. The interface identifier is
// cleared explicitly: Wine's CreateErrorInfo leaves it uninitialised (it was
// seen holding bytes of an earlier heap block), and the module's error objects
// must carry none.
HRESULT CreateEmptyErrorObject(ComPtr<ICreateErrorInfo>& created) {
    const HRESULT hr = CreateErrorInfo(created.Put());
    if (SUCCEEDED(hr)) created->SetGUID(GUID_NULL);
    return hr;
}

}  // namespace

BStr SystemErrorText(unsigned long code, MessageFunction formatMessage) {
    static_assert(LANG_USER_DEFAULT == 0x0400, "user's default language");
    // Windows fails an explicit language whose messages are not installed
    // (ERROR_RESOURCE_LANG_NOT_FOUND, ERROR_MUI_FILE_NOT_FOUND); language 0
    // lets the system choose among those it has.
    BStr text = SystemErrorTextIn(code, LANG_USER_DEFAULT, formatMessage);
    if (text.Get() && !text.Length()) text = SystemErrorTextIn(code, LANG_NEUTRAL, formatMessage);
    return text;
}

void PublishErrorInfo(ICreateErrorInfo* created) noexcept {
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(created->QueryInterface(IID_IErrorInfo, info.PutVoid()))) {
        SetErrorInfo(0, info.Get());
    }
}

HRESULT ReportHResult(HRESULT hr) noexcept {
    if (hr == DISP_E_EXCEPTION || HRESULT_FACILITY(hr) == FACILITY_CONTROL) return hr;

    ComPtr<ICreateErrorInfo> created;
    if (FAILED(CreateEmptyErrorObject(created))) return hr;
    const std::size_t index = FindErrorText(hr);
    // SetDescription copies the text; its parameter is merely not declared const.
    created->SetDescription(const_cast<LPOLESTR>(ErrorTextTable[index].m_description));
    PublishErrorInfo(created.Get());
    return ModuleErrorCode(index);
}

HRESULT ReportSystemError(unsigned long code, const wchar_t* subject) noexcept {
    ComPtr<ICreateErrorInfo> created;
    RETURN_IF_FAILED(CreateEmptyErrorObject(created));
    const BStr text = SystemErrorText(code, FormatMessageA);
    const wchar_t* systemText = text.Get() ? text.Get() : L"";
    BStr described;
    if (subject) {
        const std::size_t subjectLength = std::wcslen(subject), textLength = std::wcslen(systemText);
        const std::size_t separator = textLength ? 2 : 0;
        described = BStr::Adopt(SysAllocStringLen(nullptr, static_cast<UINT>(subjectLength + separator + textLength)));
        if (described.Get()) {
            std::wmemcpy(described.Get(), subject, subjectLength);
            std::wmemcpy(described.Get() + subjectLength, L": ", separator);
            std::wmemcpy(described.Get() + subjectLength + separator, systemText, textLength);
        }
    }
    // SetDescription copies the text; its parameter is merely not declared const.
    created->SetDescription(const_cast<LPOLESTR>(described.Get() ? described.Get() : systemText));
    PublishErrorInfo(created.Get());
    return SystemErrorCode;
}
