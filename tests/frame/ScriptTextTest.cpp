// The text layer alone: tokens, and double-byte text, tried with a stand-in
// code page whose lead bytes are 0x81 to 0x9F (as in Shift-JIS) whatever
// code page the machine uses.
#include "RegistryScriptText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace registry_script;

namespace {

using List = std::vector<std::string>;

const char* NextDoubleByteChar(const char* p) {
    const auto lead = static_cast<unsigned char>(*p);
    return lead >= 0x81 && lead <= 0x9F && p[1] ? p + 2 : p + 1;
}

// All tokens of `text`, then "<error>" if reading stopped before the end.
List Tokens(const std::string& text, NextCharFunction next = &NextSingleByteChar) {
    TokenReader reader(text.c_str(), next);
    List tokens;
    for (std::string token;; tokens.push_back(token)) {
        reader.SkipSpace();
        if (reader.AtEnd()) return tokens;
        if (reader.Read(token) != TextStatus::Ok) break;
    }
    tokens.push_back("<error>");
    return tokens;
}

TEST(TokenReader, SplitsOnWhitespaceReadsQuotesAndLimitsLength) {
    const std::string longest(kMaxTokenBytes, 'x'), quotes(kMaxTokenBytes, '\'');
    const struct {
        std::string text;
        List tokens;
    } cases[] = {
        {"HKCR\r\n{\r\n\ta = s 'b c'\r\n}", {"HKCR", "{", "a", "=", "s", "b c", "}"}},
        {"'it''s' '''' ''", {"it's", "'", ""}},
        {"Key{ a=b 'a b'c", {"Key{", "a=b", "a b", "c"}},
        {"'open", {"<error>"}},
        {"'it''", {"<error>"}},
        {longest, {longest}},
        {"'" + longest + "'", {longest}},
        {"'" + quotes + quotes + "'", {quotes}},  // a doubled quote counts as one byte
        {longest + "x", {"<error>"}},
        {"'" + quotes + quotes + "'''", {"<error>"}},
        {std::string(1 << 20, 'x'), {"<error>"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokens(c.text), c.tokens) << c.text.substr(0, 40);

    std::string token;
    EXPECT_EQ(TokenReader(" \r\n\t", &NextSingleByteChar).Read(token), TextStatus::SyntaxError);
}

TEST(DoubleByteText, IsNeverSplit) {
    // 0x81 followed by a quote is one character; the next quote closes.
    EXPECT_EQ(Tokens("'\x81'' x", &NextDoubleByteChar), (List{"\x81'", "x"}));
    EXPECT_EQ(Tokens("'\x81'' x", &NextSingleByteChar), List{"<error>"});
    EXPECT_EQ(Tokens("a\x81 b \x81", &NextDoubleByteChar), (List{"a\x81 b", "\x81"}));
    // A 0x5C trail byte is neither a backslash in a name nor half of "\0".
    EXPECT_FALSE(ContainsBackslash("\x83\\", &NextDoubleByteChar));
    EXPECT_TRUE(ContainsBackslash("\x83\\", &NextSingleByteChar));
    std::string data;
    ASSERT_EQ(MultiStringData("\x83\\0", &NextDoubleByteChar, data), TextStatus::Ok);
    EXPECT_EQ(data, std::string("\x83\\0\0\0", 5));
    // A "%" trail byte neither ends nor starts a replacement name.
    struct OneName : ReplacementSource {
        TextStatus Replacement(std::string_view name, std::string& text) const override {
            text = "found";
            return name == "\x81%" ? TextStatus::Ok : TextStatus::SyntaxError;
        }
    } source;
    EXPECT_EQ(ExpandReplacements("<%\x81%%>", source, &NextDoubleByteChar, data), TextStatus::Ok);
    EXPECT_EQ(data, "<found>");
    EXPECT_EQ(ExpandReplacements("<%\x81%%>", source, &NextSingleByteChar, data), TextStatus::SyntaxError);
}

TEST(MultiStringData, EndsAtTheFirstEmptyString) {
    const struct {
        const char* text;
        std::string data;
    } cases[] = {{"a", {"a\0\0", 3}}, {"", {"\0", 1}}, {"a\\0\\0b", {"a\0\0", 3}}, {"a\\1", {"a\\1\0\0", 5}}};
    std::string data;
    for (const auto& c : cases) {
        ASSERT_EQ(MultiStringData(c.text, &NextSingleByteChar, data), TextStatus::Ok);
        EXPECT_EQ(data, c.data) << c.text;
    }
}

}  // namespace
