// The values of a statement's lines, kept compactly for statements of a
// million lines: one fixed record a line, with the number, direction,
// amount and date as the values they are, and the description and
// reference in UTF-8 in one arena (TextArena.h), where an object a line with
// a BSTR for each text would cost about a kilobyte a line. Nothing is
// formatted as a line arrives: a number put as a VT_I4 stays a number; only
// a number of another type keeps its text, as the call log writes a
// VARIANT. A line takes about 56 bytes and its texts. The recording
// statement (CompactStatement), the import tool's statement and the tests
// read lines from here.
//
// A line's values are set one at a time, in any order, and may be set
// again: a text set again takes new room and leaves its old copy unused in
// the arena (a cheque's description is set twice).
#pragma once

#include "SlottedRecords.h"
#include "TextArena.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace reference_host {

// One line's values; the texts stay valid until the records are cleared or
// destroyed.
struct StatementLineView {
    // The number when it was put as a VT_I4; otherwise `numberText` says what
    // was put, as the call log writes a VARIANT ("VT_EMPTY" when nothing was).
    std::optional<long> number;
    std::string_view numberText;
    long direction = 0;
    double amount = 0.0;
    DATE date = 0.0;
    std::string_view description;
    std::string_view reference;
};

// A line's number as the call log writes the VARIANT it was put as
// ("VT_I4 5", "VT_BSTR \"x\"", "VT_EMPTY").
std::string LoggedNumber(const StatementLineView& line);

class StatementLineRecords {
public:
    // Names a line. A slot from before the last Clear names no line: what
    // is set through it is dropped.
    using Slot = RecordSlot;
    enum class Text { Description, Reference };

    StatementLineRecords() = default;
    StatementLineRecords(const StatementLineRecords&) = delete;
    StatementLineRecords& operator=(const StatementLineRecords&) = delete;

    // A new last line, with the values of a line nothing was put into.
    Slot Add();
    void SetNumber(Slot slot, long number);
    // A number put as another type than VT_I4, in the call log's words.
    // Throws std::bad_alloc when the text cannot be kept (as SetText).
    void SetNumberText(Slot slot, std::string_view text);
    void SetText(Slot slot, Text which, std::string_view utf8);
    void SetDirection(Slot slot, long direction);
    void SetAmount(Slot slot, double amount);
    void SetDate(Slot slot, DATE date);
    void Clear();

    std::size_t Size() const { return m_records.Size(); }
    StatementLineView operator[](std::size_t index) const;

private:
    struct Record {
        const char* texts[2];
        std::uint32_t lengths[2];
        // A VT_I4's value; for a number put as another type, the length
        // of its text, at `numberText`.
        std::int32_t number;
        std::int32_t direction;
        double amount;
        double date;
        const char* numberText;  // null for a VT_I4
    };
    std::string_view Keep(std::string_view text);

    SlottedRecords<Record> m_records;
    TextArena m_texts;
};

}  // namespace reference_host
