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

#include <string>
#include <string_view>

struct HostLineValues {
    long direction = 0;
    double amount = 0.0;
    bool cheque = false;
    std::string_view description;
    std::string_view reference;
};

// Works out the values record by record, for one statement file.
class HostLineValuesReader {
public:
    explicit HostLineValuesReader(FileEncoding encoding) : m_texts(encoding) {}

    // The values of the line `record` gives; its texts stay valid until the
    // next call or until the record changes.
    const HostLineValues& Of(const CTransactionRecord& record);

private:
    FileTextConverter m_texts;  // for the comparison of a type code with "CHQ"
    std::string m_cheque;       // a cheque's description, its room kept from line to line
    HostLineValues m_values;
};
