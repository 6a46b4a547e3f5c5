// The texts the import hands to a host statement line: narrow text turned
// into BSTRs, and the cheque reference and description.
#pragma once

#include "CString.h"
#include "ResourceHolders.h"

// The text as a BSTR, converted from the calling thread's ANSI code page.
// Throws std::bad_alloc when the string cannot be made.
BStr ToBstr(const CString& text);

// True when the type code is exactly "CHQ" (letter case counts).
bool IsChequeTypeCode(BSTR typeCode);

// Zeros in front of a cheque number shorter than 6 characters.
void PadChequeNumber(CString& chequeNumber);
