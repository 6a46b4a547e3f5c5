// Statement files made for a test, in either layout, in which every line's
// description, type code, amount, direction and date are its own: a line read
// from another file, or a field taken from another line, shows as a
// difference from the line's expected values.
#pragma once

#include "StatementTestSupport.h"

#include <string>
#include <vector>

// What a line of a generated statement must become.
struct ExpectedLine {
    long number = 0;  // its statement line number
    std::string description;
    std::string typeCode;  // also its reference: no line is a cheque
    double amount = 0;
    bool debit = false;
    DATE date = 0;
};

class GeneratedStatement {
public:
    // `seed` tells the statements apart (and picks the layout: date first
    // for even seeds); every line is of the host's account 12-34-56 /
    // 12345678 and carries an amount.
    GeneratedStatement(int seed, int lines) : m_file(Text(seed, lines, m_expected)) {}

    std::string Path() const { return m_file.Path(); }
    const std::vector<ExpectedLine>& Expected() const { return m_expected; }

private:
    static std::string Text(int seed, int lines, std::vector<ExpectedLine>& expected) {
        static const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                              "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
        static const char* const kTypes[] = {"DD", "SO", "BGC", "FPO", "DEB"};
        const bool dateFirst = seed % 2 == 0;
        std::string text = "Transaction history,generated\r\n";
        for (int index = 0; index < lines; ++index) {
            ExpectedLine line;
            const int day = 1 + index % 28, month = 1 + (index / 28) % 12, year = 2001 + seed % 40;
            line.number = index + 1;
            line.description = "HOST " + std::to_string(seed) + " LINE " + std::to_string(index) +
                               std::string(static_cast<size_t>(index % 17), '*');
            line.typeCode = kTypes[(index + seed) % 5];
            line.amount = index + 1 + (seed % 100) / 100.0;
            line.debit = index % 2 == 0;
            line.date = PlatformDate(year, month, day);  // the platform's, not the reader's count
            expected.push_back(line);
            const std::string amount = std::to_string(index + 1) + "." + (seed % 100 < 10 ? "0" : "") +
                                       std::to_string(seed % 100);
            const std::string amounts = line.debit ? amount + "," : "," + amount;
            const std::string twoDigits = (day < 10 ? "0" : "") + std::to_string(day);
            if (dateFirst)
                text += twoDigits + "/" + std::to_string(month) + "/" + std::to_string(year) + "," + line.typeCode +
                        ",12-34-56,12345678,";
            else
                text += "12-34-56,12345678," + twoDigits + kMonths[month - 1] + std::to_string(year % 100 + 100).substr(1) +
                        "," + line.typeCode + ",";
            text += line.description + "," + amounts + ",1000.00\r\n";
        }
        return text;
    }

    std::vector<ExpectedLine> m_expected;
    ScratchFile m_file;
};
