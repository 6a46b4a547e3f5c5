// Turns a failure code into an operation's result and a COM error object on
// the calling thread. The error object carries only a description: no source,
// interface identifier, help file or help context.
//
// Every code the module makes has facility 0x0A (severity error, 0x800Axxxx),
// so a code with that facility, and DISP_E_EXCEPTION, counts as already
// reported and passes through with nothing published. Nothing here throws:
// these functions run inside the method guard's handlers.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "ResourceHolders.h"

#include <cstddef>

struct ErrorText {
    HRESULT m_code;
    const wchar_t* m_description;
};

// The HRESULTs the module describes, searched from the first row; the row
// whose code is 0 ends the table. A code not found is described by row 0.
extern const ErrorText ErrorTextTable[];

// The module's code for row `index` of ErrorTextTable: 0x800A0000 with a
// code counting down from 0xFFFE.
constexpr HRESULT ModuleErrorCode(std::size_t index) {
    return static_cast<HRESULT>(0x800A0000u | (0xFFFEu - static_cast<unsigned>(index)));
}

// The code a system error code is reported as, whatever the code.
constexpr HRESULT SystemErrorCode = static_cast<HRESULT>(0x800AFFFFu);

// Reports `hr` and returns what the operation returns: `hr` itself when it
// is already reported (DISP_E_EXCEPTION, facility 0x0A) or when no error
// object can be made, else the module code of its row in ErrorTextTable.
HRESULT ReportHResult(HRESULT hr) noexcept;

// Reports a system error code (as from GetLastError) with the system's text
// for it; an empty description when the system has none. With a `subject`
// (what the error is about, in words), the description is the subject, a
// colon and the system's text. Returns SystemErrorCode, or the failure of
// creating the error object.
HRESULT ReportSystemError(unsigned long code, const wchar_t* subject = nullptr) noexcept;

// The platform's message function, as FormatMessageA.
using MessageFunction = DWORD(WINAPI*)(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                                       LPSTR buffer, DWORD size, va_list* arguments);

// The system's text for a system error code, as wide text, asked of
// `formatMessage` in the user's default language first and, where that
// language's messages are not installed, in the system's own choice of
// language (0), without the line break the system ends it with: empty when
// neither has a text, null when memory runs out.
BStr SystemErrorText(unsigned long code, MessageFunction formatMessage);

// Publishes a prepared error object as the thread's error information, when
// it answers for IErrorInfo. Borrows `created`.
void PublishErrorInfo(ICreateErrorInfo* created) noexcept;
