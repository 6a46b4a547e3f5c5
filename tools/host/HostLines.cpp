#include "HostLines.h"

#include "CallValues.h"

namespace {

constexpr std::string_view kNoNumber = "VT_EMPTY";

std::size_t At(HostLines::Text which) { return static_cast<std::size_t>(which); }

}  // namespace

HostLines::HostLines(const reference_host::StatementLineRecords& records) {
    for (std::size_t index = 0; index < records.Size(); ++index) {
        const reference_host::StatementLineView line = records[index];
        const Slot slot = Add();
        if (line.number)
            SetNumber(slot, *line.number);
        else
            SetNumberText(slot, line.numberText);
        SetDirection(slot, line.direction);
        SetAmount(slot, line.amount);
        SetDate(slot, line.date);
        SetText(slot, Text::Description, line.description);
        SetText(slot, Text::Reference, line.reference);
    }
}

HostLines::Slot HostLines::Add() {
    Record record{};
    for (const Text which : {Text::Description, Text::Reference}) {
        record.texts[At(which)] = reference_host::kNullText;
        record.lengths[At(which)] = static_cast<std::uint32_t>(sizeof reference_host::kNullText - 1);
    }
    record.numberText = kNoNumber.data();
    record.number = static_cast<std::int32_t>(kNoNumber.size());
    return m_records.Add(record);
}

void HostLines::SetNumber(Slot slot, long number) {
    if (Record* const record = m_records.Find(slot)) {
        record->numberText = nullptr;
        record->number = static_cast<std::int32_t>(number);
    }
}

void HostLines::SetNumberText(Slot slot, std::string_view text) {
    Record* const record = m_records.Find(slot);
    if (!record) return;
    const std::string_view kept = Keep(text);
    record->numberText = kept.data();
    record->number = static_cast<std::int32_t>(kept.size());
}

void HostLines::SetText(Slot slot, Text which, std::string_view utf8) {
    Record* const record = m_records.Find(slot);
    if (!record) return;
    const std::string_view kept = Keep(utf8);
    record->texts[At(which)] = kept.data();
    record->lengths[At(which)] = static_cast<std::uint32_t>(kept.size());
}

void HostLines::SetDirection(Slot slot, long direction) {
    if (Record* const record = m_records.Find(slot)) record->direction = static_cast<std::int32_t>(direction);
}

void HostLines::SetAmount(Slot slot, double amount) {
    if (Record* const record = m_records.Find(slot)) record->amount = amount;
}

void HostLines::SetDate(Slot slot, DATE date) {
    if (Record* const record = m_records.Find(slot)) record->date = date;
}

void HostLines::Clear() {
    m_records.Clear();
    m_texts.Clear();
}

HostLine HostLines::operator[](std::size_t index) const {
    const Record& record = m_records[index];
    const auto text = [&](Text which) { return std::string_view(record.texts[At(which)], record.lengths[At(which)]); };
    HostLine line;
    if (record.numberText)
        line.numberText = std::string_view(record.numberText, static_cast<std::size_t>(record.number));
    else
        line.number = record.number;
    line.direction = record.direction;
    line.amount = record.amount;
    line.date = record.date;
    line.description = text(Text::Description);
    line.reference = text(Text::Reference);
    return line;
}

// An empty text needs no room: any pointer with a length of 0 reads as it.
std::string_view HostLines::Keep(std::string_view text) {
    const std::string_view kept = m_texts.Keep(text);
    return kept.data() ? kept : std::string_view("", 0);
}
