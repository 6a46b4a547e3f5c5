// The texts the import hands to a host statement line: narrow text turned
// into BSTRs, and the cheque reference and description.
#pragma once

#include "CString.h"
#include "ResourceHolders.h"
#include "StatementFormat.h"

#include <string>
#include <vector>

// Turns one statement file's texts into BSTRs, from the file's encoding,
// for host calls that take them as [in] arguments: such a call only reads
// its string, so one string can serve call after call. The converter keeps
// a string for each text length it meets (up to kMostReusedLength) and
// writes each text of bytes below 0x80 into the one of its length, byte by
// byte, where the code page reads those bytes as themselves (asked once,
// when the converter is made); an import then allocates no string a line.
// Other text is converted by the platform into a string of its own.
class FileTextConverter {
public:
    static constexpr int kMostReusedLength = 256;

    explicit FileTextConverter(FileEncoding encoding);

    // The text as a BSTR, valid until the next call or the converter's end.
    // Throws std::bad_alloc when the string cannot be made.
    BSTR ToBstr(const CString& text);
    BSTR ToBstr(const char* text, int length);

    // IsChequeTypeCode of the type code's BSTR. A code of at most three
    // bytes below 0x80, which the encoding reads as themselves, is compared
    // as it stands, as IsChequeTypeCode compares its characters: no BSTR is made.
    bool IsChequeTypeCode(const CString& typeCode);

private:
    BStr& StringOfLength(int length);

    FileEncoding m_encoding;
    bool m_widensPlainText;
    std::vector<BStr> m_byLength;  // index: the length of the string
    BStr m_converted;
};

// True when the type code is exactly "CHQ" (letter case counts).
bool IsChequeTypeCode(BSTR typeCode);

// `description` becomes a cheque line's description, its room kept: "CHQ "
// and the cheque's number, with zeros in front of a number shorter than 6
// characters. The line's reference is the number so padded: the
// description after kChequeDescriptionPrefix.
void AssignChequeDescription(std::string& description, const CString& chequeNumber);
constexpr int kChequeDescriptionPrefix = 4;
