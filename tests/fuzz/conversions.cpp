// Fuzzes the amount and date conversions: ParseAmount, ParseSlashDate,
// ParseMonthDate, MonthFromAbbreviation, ToUpper and RemoveDashes over the
// input as one field text (up to its first NUL byte).
#include "FieldConversions.h"
#include "FuzzSupport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceDiagnostics();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const CString text(input.c_str());

    const double amount = ParseAmount(text);
    FUZZ_CHECK(std::isfinite(amount));
    FUZZ_CHECK(amount >= 0);  // minus signs are dropped, so never negative

    const DATE slashDate = ParseSlashDate(text);
    FUZZ_CHECK(std::isfinite(slashDate));
    const DATE monthDate = ParseMonthDate(text);
    FUZZ_CHECK(std::isfinite(monthDate));

    int month = 0;
    if (MonthFromAbbreviation(text, month)) FUZZ_CHECK(month >= 1 && month <= 12);

    CString upper = text;
    ToUpper(upper);
    FUZZ_CHECK(upper.GetLength() == text.GetLength());
    CString undashed = text;
    RemoveDashes(undashed);
    FUZZ_CHECK(undashed.Find('-') < 0);
    return 0;
}
