#include "CallValues.h"

#include "CodePages.h"
#include "HostStrings.h"
#include "MavrinBankReconciliation.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

namespace reference_host {
namespace {

struct NamedType {
    VARTYPE type;
    const char* name;
};

constexpr NamedType kTypeNames[] = {
    {VT_EMPTY, "VT_EMPTY"}, {VT_NULL, "VT_NULL"},         {VT_I2, "VT_I2"},     {VT_I4, "VT_I4"},
    {VT_R4, "VT_R4"},       {VT_R8, "VT_R8"},             {VT_CY, "VT_CY"},     {VT_DATE, "VT_DATE"},
    {VT_BSTR, "VT_BSTR"},   {VT_DISPATCH, "VT_DISPATCH"}, {VT_ERROR, "VT_ERROR"}, {VT_BOOL, "VT_BOOL"},
    {VT_VARIANT, "VT_VARIANT"}, {VT_UNKNOWN, "VT_UNKNOWN"}, {VT_DECIMAL, "VT_DECIMAL"}, {VT_I1, "VT_I1"},
    {VT_UI1, "VT_UI1"},     {VT_UI2, "VT_UI2"},           {VT_UI4, "VT_UI4"},   {VT_I8, "VT_I8"},
    {VT_UI8, "VT_UI8"},     {VT_INT, "VT_INT"},           {VT_UINT, "VT_UINT"},
};

std::string TypeName(VARTYPE type) {
    const VARTYPE base = type & VT_TYPEMASK;
    const auto found = std::find_if(std::begin(kTypeNames), std::end(kTypeNames),
                                    [base](const NamedType& named) { return named.type == base; });
    std::string name = found != std::end(kTypeNames) ? found->name : "VT_" + std::to_string(base);
    if (type & VT_ARRAY) name += "|VT_ARRAY";
    if (type & VT_BYREF) name += "|VT_BYREF";
    return name;
}

}  // namespace

std::string TextOf(BSTR text) {
    return text ? WideToUtf8(text, SysStringLen(text)) : kNullText;
}

std::string NumberText(double value) {
    char buffer[64];
    const auto written = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, written.ptr);
}

std::string NumberText(long value) {
    return std::to_string(value);
}

std::string VariantText(const VARIANT* value) {
    if (!value) return kNullText;
    const VARTYPE type = V_VT(value);
    std::string text = TypeName(type);
    if (type == VT_EMPTY || type == VT_NULL) return text;
    if (type == VT_R8) return text + " " + NumberText(V_R8(value));
    if (type == VT_DATE) return text + " " + NumberText(V_DATE(value));
    Variant converted;
    if (SUCCEEDED(VariantChangeTypeEx(converted.Get(), const_cast<VARIANT*>(value), LOCALE_INVARIANT, 0, VT_BSTR)))
        text += " " + TextOf(V_BSTR(converted.Get()));
    return text;
}

std::string RecordText(const unsigned char* record, std::size_t size) {
    if (!record) return kNullText;
    const auto* text = reinterpret_cast<const char*>(record);
    return Utf8FromAnsi(text, strnlen(text, size));
}

std::string InterfaceName(REFIID iid) {
    static const std::pair<const IID*, const char*> kNames[] = {
        {&IID_IHostReconciliation, "IHostReconciliation"}, {&IID_IHostBankAccount, "IHostBankAccount"},
        {&IID_IHostStatement, "IHostStatement"},           {&IID_IHostStatementLine, "IHostStatementLine"},
        {&IID_IHostBankSetup, "IHostBankSetup"},           {&IID_IHostFileChooser, "IHostFileChooser"},
        {&IID_IDispatch, "IDispatch"},                     {&IID_IUnknown, "IUnknown"},
    };
    for (const auto& [known, name] : kNames)
        if (IsEqualIID(iid, *known)) return name;
    wchar_t text[40] = {};
    StringFromGUID2(iid, text, 40);
    return WideToUtf8(text, wcslen(text));
}

bool IsZeroPaddedText(const std::vector<unsigned char>& record) {
    const auto zero = std::find(record.begin(), record.end(), 0);
    return zero != record.end() && std::all_of(zero, record.end(), [](unsigned char byte) { return byte == 0; });
}

}  // namespace reference_host
