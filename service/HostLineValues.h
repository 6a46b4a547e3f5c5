// What a host statement line gets from an imported record, worked out in
// one place: the import hands these values to the host, and the preview
// tool's explainer says them.
//
// The direction is 0 for a debit and 1 for a credit; the amount is the one
// the record carries in that direction (a record whose debit and credit
// fields were refused carries none, and its line is not imported). The
// description and reference are the file's bytes, in its encoding: a cheque
// line (type code "CHQ") gets the description "CHQ " and the cheque's number,
// with zeros in front of a number shorter than 6 characters, and that
// padded number as its reference (the record keeps the cheque's number as
// its description); any other line gets the record's description, and its
// type code as its reference.
#pragma once

#include "StatementLineTexts.h"
#include "TransactionRecord.h"

#include <cstddef>
#include <string>
#include <string_view>

// The direction and the amount, each asked on its own where the import
// puts it.
inline long HostLineDirectionOf(const CTransactionRecord& record) { return record.GetIsDebit() ? 0 : 1; }

inline double HostLineAmountOf(const CTransactionRecord& record) {
    return record.GetIsDebit() ? record.GetDebitAmount() : record.GetCreditAmount();
}

// The description and the reference, as the file's bytes.
struct HostLineTexts {
    bool cheque = false;
    std::string_view description;
    std::string_view reference;
};

// Works out the texts record by record, for one statement file.
class HostLineTextsReader {
public:
    explicit HostLineTextsReader(FileEncoding encoding) : m_texts(encoding) {}

    // The texts of the line `record` gives, valid until the next call or
    // until the record changes. Inline: the import asks it of every line.
    HostLineTexts Of(const CTransactionRecord& record) {
        HostLineTexts texts;
        texts.cheque = m_texts.IsChequeTypeCode(record.GetTypeCode());
        if (texts.cheque) {
            AssignChequeDescription(m_cheque, record.GetDescription());
            texts.description = m_cheque;
            texts.reference = texts.description.substr(kChequeDescriptionPrefix);
        } else {
            texts.description = ViewOf(record.GetDescription());
            texts.reference = ViewOf(record.GetTypeCode());
        }
        return texts;
    }

private:
    static std::string_view ViewOf(const CString& text) {
        return std::string_view(text.GetText(), static_cast<std::size_t>(text.GetLength()));
    }

    FileTextConverter m_texts;  // for the comparison of a type code with "CHQ"
    std::string m_cheque;       // a cheque's description, its room kept from line to line
};
