// The values of a statement's lines that tests and the import tool read
// (StatementLineValues), kept compactly, for statements of a million lines:
// one fixed record a line, its texts in one arena (TextArena.h), where an
// object a line with a BSTR for each text would cost about a kilobyte a line.
// A line's values are set one at a time, in any order, and may be set again:
// a text set again takes new room and leaves its old copy unused in the
// arena (a cheque's description is set twice).
#pragma once

#include "SlottedRecords.h"
#include "TextArena.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace reference_host {

// One line's values, as StatementLineValues has them; the texts stay valid
// until the records are cleared or destroyed.
struct StatementLineView {
    std::string_view number;
    long direction = 0;
    double amount = 0.0;
    DATE date = 0.0;
    std::string_view description;
    std::string_view reference;
};

class StatementLineRecords {
public:
    // Names a line. A slot from before the last Clear names no line: what
    // is set through it is dropped.
    using Slot = RecordSlot;
    enum class Text { Number, Description, Reference };

    // A new last line, with the values of a line nothing was put into.
    Slot Add();
    // Throws std::bad_alloc when the text cannot be kept.
    void SetText(Slot slot, Text which, std::string_view utf8);
    void SetDirection(Slot slot, long direction);
    void SetAmount(Slot slot, double amount);
    void SetDate(Slot slot, DATE date);
    void Clear();

    std::size_t Size() const { return m_records.Size(); }
    StatementLineView operator[](std::size_t index) const;

private:
    struct Record {
        const char* texts[3];
        std::uint32_t lengths[3];
        std::int32_t direction;
        double amount;
        double date;
    };

    SlottedRecords<Record> m_records;
    TextArena m_texts;
};

}  // namespace reference_host
