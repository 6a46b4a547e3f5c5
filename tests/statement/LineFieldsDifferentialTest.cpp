// The fast splitting, clean-up and record reading against the plain
// reference of ReferenceLineFields.h: on lines generated from the pieces the
// rules care about, and on every line of every fuzz corpus input.
#include "ReferenceLineFields.h"

#include "StatementTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

namespace {

// Separators, quotes, white space, the characters the clean-up drops, the
// description's " . ", bytes above 0x7F, and pieces of real fields.
const char* const kPieces[] = {
    ",", ",", "\"", "\"", "\"\"", " ", "\t", "\r", "\v", "-", ".", " . ", "e", "E", "+", "1", "12", "0.5",
    "1,234.56", "\"1,234.56\"", "1e-2", "12-34-56", "45678912", "03/11/2011", "2011-11-03", "03NOV11", "03-nov-11",
    "/", "DD", "CHQ", "\xA3", "\xE9", "\x81", "x", "ABC DEF"};
constexpr int kGeneratedLines = 5000;

class LineMaker {
public:
    // Mostly 8 fields of a few pieces each, sometimes any run of pieces,
    // now and then with a field too long to be taken.
    std::string Next() {
        std::string line;
        if (Below(4) < 3) {
            for (int field = 0; field < kFieldsPerLine; ++field) {
                if (field) line += ',';
                line += Pieces(Below(4));
            }
        } else {
            line = Pieces(Below(40));
        }
        if (Below(50) == 0) line.insert(Below(static_cast<unsigned>(line.size()) + 1), std::string(520, 'x'));
        line.resize(std::min(line.size(), static_cast<size_t>(kMaxLineLength)));
        return line;
    }

private:
    unsigned Below(unsigned bound) { return static_cast<unsigned>(m_random() % bound); }

    std::string Pieces(unsigned count) {
        std::string text;
        for (unsigned i = 0; i < count; ++i) text += kPieces[Below(std::size(kPieces))];
        return text;
    }

    std::mt19937 m_random{20261208};
};

// Every line of `bytes` as the reader's ReadLine gives them.
std::vector<std::string> LinesOf(const std::string& bytes) {
    std::istringstream stream(bytes);
    std::vector<std::string> lines;
    LineBuffer line;
    for (LineRead read; (read = ReadLine(stream, line)) != LineRead::End;) lines.emplace_back(line);
    return lines;
}

}  // namespace

TEST(LineFieldsDifferential, GeneratedLines) {
    LineMaker maker;
    for (int i = 0; i < kGeneratedLines; ++i) {
        const std::string line = maker.Next();
        for (const char separator : {',', ';'}) {
            ASSERT_EQ("", reference::DifferenceFromReference(line.c_str(), separator))
                << Printable(line) << " split at " << separator;
        }
    }
}

// Each input as text lines split at the comma, and as the line_fields
// harness reads it: the first byte picks the separator.
TEST(LineFieldsDifferential, EveryFuzzCorpusInput) {
    int inputs = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PENDREL_FUZZ_CORPUS_DIR)) {
        if (!entry.is_regular_file()) continue;
        ++inputs;
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        for (const std::string& line : LinesOf(bytes))
            ASSERT_EQ("", reference::DifferenceFromReference(line.c_str(), ','))
                << entry.path().string() << ": " << Printable(line);
        if (bytes.empty()) continue;
        const char separator = (bytes[0] & 1) ? bytes[0] : ',';
        for (const std::string& line : LinesOf(bytes.substr(1)))
            ASSERT_EQ("", reference::DifferenceFromReference(line.c_str(), separator))
                << entry.path().string() << " as the harness reads it: " << Printable(line);
    }
    EXPECT_GT(inputs, 100) << "the corpus was found";
}
