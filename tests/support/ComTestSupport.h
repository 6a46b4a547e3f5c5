// Helpers shared by the COM test programs: COM initialised for the whole
// program, the module's invalid-argument code, reading an object's reference
// count, the thread's error object's description, and a thread locale set
// for a while.
#pragma once

#include "ResourceHolders.h"

#include <optional>
#include <string>

// The system kind of this program's architecture, as type libraries are
// registered for it, and the name of its registry key under TypeLib\{id}\1.0\0.
constexpr SYSKIND kThisSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
constexpr const char* kThisSysKindKey = sizeof(void*) == 8 ? "win64" : "win32";

// What the module answers for a missing or unusable argument.
constexpr HRESULT kInvalidArgument = static_cast<HRESULT>(0x800AFFFC);

// The count after AddRef and Release: the count the object had.
template <typename Object>
ULONG RefCount(Object* object) {
    object->AddRef();
    return object->Release();
}

// Takes the thread's error object off the thread (null when it has none).
inline ComPtr<IErrorInfo> TakeErrorObject() {
    ComPtr<IErrorInfo> error;
    if (GetErrorInfo(0, error.Put()) != S_OK) error.Reset();
    return error;
}

// The description of an error object; nothing for no object.
inline std::optional<std::wstring> DescriptionOf(IErrorInfo* error) {
    if (!error) return std::nullopt;
    BStr description;
    error->GetDescription(description.Put());
    return std::wstring(description.Get() ? description.Get() : L"");
}

// Takes the thread's error object and gives its description; nothing when
// the thread has none.
inline std::optional<std::wstring> TakeErrorDescription() { return DescriptionOf(TakeErrorObject().Get()); }

// Sets the calling thread's locale for its lifetime and restores the earlier
// one after: a user whose "Formats" setting differs from the system locale
// runs programs so, and the thread's code page then differs from the ANSI one.
class ThreadLocale {
public:
    explicit ThreadLocale(LCID locale) : m_earlier(GetThreadLocale()) { SetThreadLocale(locale); }
    ~ThreadLocale() { SetThreadLocale(m_earlier); }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

    // The code page the thread's locale gives narrow text now.
    static UINT CodePage() {
        CPINFOEXW info = {};
        return GetCPInfoExW(CP_THREAD_ACP, 0, &info) ? info.CodePage : 0;
    }

private:
    LCID m_earlier;
};
