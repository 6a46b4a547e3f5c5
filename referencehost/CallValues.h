// How the values passed to the reference host are written in the call log.
// Texts are UTF-8. A null BSTR or pointer is written "<null>". Numbers use
// the shortest text that reads back as the same double ("0", "12.5",
// "40850"); a VARIANT is its type name and its value ("VT_I4 1",
// "VT_BSTR abc", "VT_EMPTY"). A narrow byte record is its text up to the
// first zero byte, read in the ANSI code page.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace reference_host {

inline constexpr char kNullText[] = "<null>";

std::string TextOf(BSTR text);
std::string NumberText(double value);
std::string NumberText(long value);
std::string VariantText(const VARIANT* value);
// A plain value put into a host object: VARIANT_BOOL and LONG as whole
// numbers, DATE and double as doubles.
template <typename Value>
std::string PlainValueText(Value value) {
    if constexpr (std::is_floating_point_v<Value>)
        return NumberText(static_cast<double>(value));
    else
        return NumberText(static_cast<long>(value));
}
std::string RecordText(const unsigned char* record, std::size_t size);
// "IHostStatement" and so on for the host's interfaces, else the identifier in braces.
std::string InterfaceName(REFIID iid);

// True when the record holds a zero byte and every byte after the first zero is zero.
bool IsZeroPaddedText(const std::vector<unsigned char>& record);

}  // namespace reference_host
