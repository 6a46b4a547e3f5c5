// Helpers shared by the COM test programs: COM initialised for the whole
// program, reading an object's reference count, and the thread's error
// object's description.
#pragma once

#include "ResourceHolders.h"

#include <string>

// The system kind of this program's architecture, as type libraries are
// registered for it, and the name of its registry key under TypeLib\{id}\1.0\0.
constexpr SYSKIND kThisSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
constexpr const char* kThisSysKindKey = sizeof(void*) == 8 ? "win64" : "win32";

// The count after AddRef and Release: the count the object had.
inline ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

// Takes the thread's error object and returns its description ("" if none).
inline std::wstring TakeErrorDescription() {
    ComPtr<IErrorInfo> error;
    if (GetErrorInfo(0, error.Put()) != S_OK || !error) return L"";
    BStr description;
    error->GetDescription(description.Put());
    return description.Get() ? description.Get() : L"";
}

// True when the thread holds an error object (which is taken off it).
inline bool TakeErrorInfo() {
    ComPtr<IErrorInfo> error;
    return GetErrorInfo(0, error.Put()) == S_OK && error;
}
