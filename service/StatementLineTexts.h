// The texts the import hands to a host statement line: narrow text turned
// into BSTRs, and the cheque reference and description.
#pragma once

#include "CString.h"
#include "ResourceHolders.h"

// How a statement file's texts are written: in the ANSI code page (read as
// the calling thread's), or in UTF-8 when the file starts with the UTF-8
// byte-order mark.
enum class FileEncoding { Ansi, Utf8 };

// The text as a BSTR, converted from the file's encoding. Throws
// std::bad_alloc when the string cannot be made.
BStr ToBstr(const CString& text, FileEncoding encoding);

// True when the type code is exactly "CHQ" (letter case counts).
bool IsChequeTypeCode(BSTR typeCode);

// Zeros in front of a cheque number shorter than 6 characters.
void PadChequeNumber(CString& chequeNumber);
