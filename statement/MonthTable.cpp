#include "MonthTable.h"

#include "MultibyteText.h"

#include <cstdint>

namespace {

constexpr char kMonthAbbreviations[] = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
constexpr int kMonths = 12;

// Three characters in one number, to be compared at once.
constexpr std::uint32_t ThreeLetters(const char* three) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(three[0]) | static_cast<unsigned char>(three[1]) << 8 |
                                      static_cast<unsigned char>(three[2]) << 16);
}

// The twelve abbreviations as numbers, and where each stands in a table of
// sixteen slots: the slot of a number is the top four bits of its product
// with kMonthHash, which gives each abbreviation a slot of its own.
constexpr std::uint32_t kMonthHash = 26576;
constexpr int kMonthSlots = 16;

constexpr int MonthSlot(std::uint32_t letters) { return static_cast<int>(static_cast<std::uint32_t>(letters * kMonthHash) >> 28); }

struct MonthTable {
    std::uint32_t letters[kMonths];
    int monthInSlot[kMonthSlots];  // 0: no month
};

constexpr MonthTable MakeMonthTable() {
    MonthTable table{};
    for (int index = 0; index < kMonths; ++index) {
        table.letters[index] = ThreeLetters(kMonthAbbreviations + 3 * index);
        table.monthInSlot[MonthSlot(table.letters[index])] = index + 1;
    }
    return table;
}

constexpr MonthTable kMonthTable = MakeMonthTable();

constexpr bool EveryMonthHasItsSlot() {
    for (int index = 0; index < kMonths; ++index)
        if (kMonthTable.monthInSlot[MonthSlot(kMonthTable.letters[index])] != index + 1) return false;
    return true;
}
static_assert(EveryMonthHasItsSlot(), "kMonthHash must give each abbreviation a slot of its own");

}  // namespace

// Each of the twelve abbreviations first occurs where it stands in the
// table, so they are looked up as they stand before the table is searched.
bool MonthOfAbbreviation(const char* abbreviation, int& month) {
    if (abbreviation[0] != '\0' && abbreviation[1] != '\0' && abbreviation[2] != '\0' && abbreviation[3] == '\0') {
        const std::uint32_t written = ThreeLetters(abbreviation);
        const int slotted = kMonthTable.monthInSlot[MonthSlot(written)];
        if (slotted != 0 && kMonthTable.letters[slotted - 1] == written) {
            month = slotted;
            return true;
        }
    }
    const char* found = FindText(kMonthAbbreviations, abbreviation);
    if (!found) return false;
    month = static_cast<int>(found - kMonthAbbreviations) / 3 + 1;
    return true;
}
