#include "HostLineValues.h"

#include <cstddef>

namespace {

std::string_view ViewOf(const CString& text) {
    return std::string_view(text.GetText(), static_cast<std::size_t>(text.GetLength()));
}

}  // namespace

const HostLineValues& HostLineValuesReader::Of(const CTransactionRecord& record) {
    const bool debit = record.GetIsDebit() != 0;
    m_values.direction = debit ? 0 : 1;
    m_values.amount = debit ? record.GetDebitAmount() : record.GetCreditAmount();
    m_values.cheque = m_texts.IsChequeTypeCode(record.GetTypeCode());
    if (!m_values.cheque) {
        m_values.description = ViewOf(record.GetDescription());
        m_values.reference = ViewOf(record.GetTypeCode());
        return m_values;
    }
    AssignChequeDescription(m_cheque, record.GetDescription());
    m_values.description = m_cheque;
    m_values.reference = std::string_view(m_cheque).substr(kChequeDescriptionPrefix);
    return m_values;
}
