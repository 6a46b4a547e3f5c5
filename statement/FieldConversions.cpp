#include "FieldConversions.h"

#include "Amounts.h"
#include "Dates.h"
#include "MonthTable.h"
#include "StatementFormat.h"

#include <string>

double ParseAmount(CString text) {
    StripQuotes(text);
    return UnquotedAmount({text.GetText(), text.GetLength()});
}

DATE ParseSlashDate(CString text) { return ParseSlashDate(text.GetText()); }

DATE ParseMonthDate(const CString& text) { return ParseMonthDate(text.GetText()); }

bool MonthFromAbbreviation(const CString& abbreviation, int& month) {
    return MonthOfAbbreviation(abbreviation.GetText(), month);
}

CString& ToUpper(CString& text) {
    std::string upper = text.GetText();
    for (char& c : upper) c = UpperAscii(c);
    text = upper.c_str();
    return text;
}

CString& RemoveDashes(CString& text) {
    RemoveChars(text, "-");
    return text;
}
