// One fixed record a statement line, for statements that keep their lines
// compactly: the records grow by blocks (never copied as they grow), and a
// line is named by a slot. Clear drops every record and makes every slot
// handed out before it stale: what is set through a stale slot is dropped,
// so a line object held over a Clear sets nothing.
#pragma once

#include <cstddef>
#include <deque>

namespace reference_host {

// Names a line of SlottedRecords.
struct RecordSlot {
    std::size_t index = 0;
    unsigned generation = 0;
};

template <typename Record>
class SlottedRecords {
public:
    // `record` as the new last line.
    RecordSlot Add(const Record& record) {
        m_records.push_back(record);
        return {m_records.size() - 1, m_generation};
    }
    // The line's record, or null for a stale slot.
    Record* Find(RecordSlot slot) {
        if (slot.generation != m_generation || slot.index >= m_records.size()) return nullptr;
        return &m_records[slot.index];
    }
    void Clear() {
        m_records.clear();
        ++m_generation;
    }

    std::size_t Size() const { return m_records.size(); }
    const Record& operator[](std::size_t index) const { return m_records[index]; }

private:
    std::deque<Record> m_records;
    unsigned m_generation = 0;
};

}  // namespace reference_host
