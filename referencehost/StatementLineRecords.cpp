#include "StatementLineRecords.h"

#include "CallValues.h"

namespace reference_host {
namespace {

constexpr std::string_view kNoNumber = "VT_EMPTY";

std::size_t At(StatementLineRecords::Text which) { return static_cast<std::size_t>(which); }

}  // namespace

std::string LoggedNumber(const StatementLineView& line) {
    if (!line.number) return std::string(line.numberText);
    VARIANT number;
    VariantInit(&number);
    V_VT(&number) = VT_I4;
    V_I4(&number) = static_cast<LONG>(*line.number);
    return VariantText(&number);
}

StatementLineRecords::Slot StatementLineRecords::Add() {
    Record record{};
    for (const Text which : {Text::Description, Text::Reference}) {
        record.texts[At(which)] = kNullText;
        record.lengths[At(which)] = static_cast<std::uint32_t>(sizeof kNullText - 1);
    }
    record.numberText = kNoNumber.data();
    record.number = static_cast<std::int32_t>(kNoNumber.size());
    return m_records.Add(record);
}

void StatementLineRecords::SetNumber(Slot slot, long number) {
    if (Record* const record = m_records.Find(slot)) {
        record->number = static_cast<std::int32_t>(number);
        record->numberText = nullptr;
    }
}

void StatementLineRecords::SetNumberText(Slot slot, std::string_view text) {
    Record* const record = m_records.Find(slot);
    if (!record) return;
    const std::string_view kept = Keep(text);
    record->numberText = kept.data();
    record->number = static_cast<std::int32_t>(kept.size());
}

void StatementLineRecords::SetText(Slot slot, Text which, std::string_view utf8) {
    Record* const record = m_records.Find(slot);
    if (!record) return;
    const std::string_view kept = Keep(utf8);
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
    StatementLineView line;
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
std::string_view StatementLineRecords::Keep(std::string_view text) {
    const std::string_view kept = m_texts.Keep(text);
    return kept.data() ? kept : std::string_view("", 0);
}

}  // namespace reference_host
