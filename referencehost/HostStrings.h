// Text conversions of the reference host: UTF-8 for the call log and the
// tests, ANSI for the path handed to the module's recognizer, and BSTR copies
// that keep a null BSTR null (SysAllocStringLen would turn it into "").
#pragma once

#include "ResourceHolders.h"

#include <cstddef>
#include <optional>
#include <string>

namespace reference_host {

std::string Utf8FromAnsi(const char* text, std::size_t length);
std::string AnsiFromWide(const std::wstring& text);

// The text of a BSTR, embedded zeros included; absent for a null BSTR.
std::optional<std::wstring> WideFromBstr(BSTR text);

// A new BSTR for `text` in *out, or null when `text` is absent.
// E_OUTOFMEMORY when the copy cannot be made (*out is then null).
HRESULT CopyToBstr(const std::optional<std::wstring>& text, BSTR* out);
// Copies a held BSTR byte for byte into *out; null stays null.
HRESULT CopyToBstr(const BStr& text, BSTR* out);
// A held copy of `text`, null for null; throws std::bad_alloc when it cannot be made.
BStr CopyOf(BSTR text);

}  // namespace reference_host
