#include "StatementLineRecords.h"

#include "CallValues.h"

namespace reference_host {
namespace {

constexpr std::string_view kNoNumber = "VT_EMPTY";

std::size_t At(StatementLineRecords::Text which) { return static_cast<std::size_t>(which); }

}  // namespace

StatementLineRecords::Slot StatementLineRecords::Add() {
    Record record{};
    for (StatementLineRecords::Text which : {Text::Number, Text::Description, Text::Reference}) {
        const std::string_view text = which == Text::Number ? kNoNumber : std::string_view(kNullText);
        record.texts[At(which)] = text.data();
        record.lengths[At(which)] = static_cast<std::uint32_t>(text.size());
    }
    return m_records.Add(record);
}

void StatementLineRecords::SetText(Slot slot, Text which, std::string_view utf8) {
    Record* const record = m_records.Find(slot);
    if (!record) return;
    const std::string_view kept = m_texts.Keep(utf8);
    record->texts[At(which)] = kept.data();
    record->lengths[At(which)] = static_cast<std::uint32_t>(kept.size());
}

void StatementLineRecords::SetDirection(Slot slot, long direction) {
    if (Record* const record = m_records.Find(slot)) record->direction = static_cast<std::int32_t>(direction);
}

void StatementLineRecords::SetAmount(Slot slot, double amount) {
    if (Record* const record = m_records.Find(slot)) record->amount = amount;
}

void StatementLineRecords::SetDate(Slot slot, DATE date) {
    if (Record* const record = m_records.Find(slot)) record->date = date;
}

void StatementLineRecords::Clear() {
    m_records.Clear();
    m_texts.Clear();
}

StatementLineView StatementLineRecords::operator[](std::size_t index) const {
    const Record& record = m_records[index];
    const auto text = [&](Text which) { return std::string_view(record.texts[At(which)], record.lengths[At(which)]); };
    return {text(Text::Number), record.direction, record.amount, record.date, text(Text::Description),
            text(Text::Reference)};
}

}  // namespace reference_host
