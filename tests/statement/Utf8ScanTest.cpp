// The scan that tells a UTF-8 statement without a byte-order mark from one
// in the ANSI code page, against its plain twin (ReferenceUtf8.h).
#include "Utf8Scan.h"

#include "ReferenceUtf8.h"
#include "StatementTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool ScanWhole(const std::string& bytes) {
    Utf8Scan scan;
    scan.Take(bytes.data(), bytes.size());
    return scan.IsMultibyteUtf8();
}

// The text of `run` plain bytes, then `bytes`, then `run` more: the bytes
// checked at every position of the scan's words.
std::string Within(const std::string& bytes, size_t run) {
    return std::string(run, 'a') + bytes + std::string(run, 'b');
}

}  // namespace

TEST(Utf8Scan, TellsUtf8FromTheAnsiCodePage) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"", false}, {"plain ASCII, 12.50\r\n", false}, {"\0\x7F"s, false},
        {"CAF\xC3\x89 NOIR \xE2\x80\x93 M\xC3\x9CLLER \xC2\xA3" "12", true},  // 2 and 3 bytes
        {"\xF0\x9F\x92\xB7", true}, {"\xEF\xBB\xBF", true}, {"\xED\x9F\xBF", true}, {"\xF4\x8F\xBF\xBF", true},
        {"\xC2\x80", true}, {"\xE0\xA0\x80", true}, {"\xF0\x90\x80\x80", true},
        // ANSI text, and what UTF-8 forbids
        {"CAF\xC9 NOIR \x96 M\xDCLLER \xA3" "12", false}, {"\xC3\x89\xC9", false}, {"\x80", false},
        {"\xC0\x80", false}, {"\xC1\xBF", false}, {"\xE0\x9F\xBF", false}, {"\xF0\x8F\xBF\xBF", false},
        {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false}, {"\xF5\x80\x80\x80", false}, {"\xFF", false},
        {"\xC3", false}, {"\xE2\x80", false}, {"\xC3\x41", false}, {"\xE2\x28\xA1", false},
    };
    for (const auto& c : cases) {
        for (const size_t run : {0, 1, 7, 8, 31, 32, 40}) {
            SCOPED_TRACE(Printable(c.bytes) + " after " + std::to_string(run) + " plain bytes");
            const std::string text = Within(c.bytes, run);
            EXPECT_EQ(c.utf8, reference::IsMultibyteUtf8(text));
            EXPECT_EQ(c.utf8, ScanWhole(text));
        }
    }
}

// Every sequence of one or two bytes, every one of three that starts a
// character of three bytes or more, and four-byte ones over the bytes that
// matter, at the start of the scan's words and inside them.
TEST(Utf8Scan, AgreesWithTheDecodingOfEveryShortSequence) {
    const char edges[] = {'\x00', '\x41', '\x7F', '\x80', '\x8F', '\x90',
                          '\x9F', '\xA0', '\xBF', '\xC0', '\xE0', '\xFF'};
    long differences = 0, checked = 0;
    std::string text;  // one string for every text: no allocation a check
    const auto check = [&](const char* bytes, size_t length) {
        for (const size_t run : {0, 9}) {
            text.assign(run, 'a').append(bytes, length).append(run, 'b');
            differences += ScanWhole(text) != reference::IsMultibyteUtf8(text);
            ++checked;
        }
    };
    char bytes[4];
    for (int a = 0; a < 256; ++a) {
        bytes[0] = static_cast<char>(a);
        check(bytes, 1);
        for (int b = 0; b < 256; ++b) {
            bytes[1] = static_cast<char>(b);
            check(bytes, 2);
            if (a < 0xE0) continue;
            for (int c = 0; c < 256; ++c) {
                bytes[2] = static_cast<char>(c);
                check(bytes, 3);
            }
            if (a < 0xF0) continue;
            for (const char c : edges) {
                for (const char d : edges) {
                    bytes[2] = c;
                    bytes[3] = d;
                    check(bytes, 4);
                }
            }
        }
    }
    EXPECT_EQ(0, differences) << "of " << checked;
}

// The file comes in blocks that may end inside a character: any split of a
// text gives the answer of the whole. Take answers false once no bytes to
// come could make the text UTF-8, and only then.
TEST(Utf8Scan, TextInPiecesGivesTheAnswerOfTheWhole) {
    const struct {
        std::string text;
        bool couldBeUtf8;
    } cases[] = {{"plain line of text, 1.00\n", true},
                 {"CAF\xC3\x89 \xE2\x80\x93 \xF0\x9F\x92\xB7 long enough for words", true},
                 {"cut at the end \xE2\x80", true},
                 {"CAF\xC3\x89 then \xC9 ANSI, after the first word", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.text));
        const std::string& text = c.text;
        for (size_t first = 0; first <= text.size(); ++first) {
            for (size_t second = first; second <= text.size(); ++second) {
                Utf8Scan scan;
                scan.Take(text.data(), first);
                scan.Take(text.data() + first, second - first);
                ASSERT_EQ(c.couldBeUtf8, scan.Take(text.data() + second, text.size() - second))
                    << first << ", " << second;
                ASSERT_EQ(ScanWhole(text), scan.IsMultibyteUtf8()) << first << ", " << second;
            }
        }
    }
}
