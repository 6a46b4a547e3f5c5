// Fuzzes the registry script text layer: replacement expansion, then the
// tokenizer over the expanded text with the keyword, value-type and
// protected-name tables and the "M" and "B" value conversions (for each
// token text once), and the block structure check at each "{" outside a
// block. Text without "%" expands to
// itself, a token written quoted reads back as itself, and a binary value's
// bytes give back its digits. The first byte picks the character step
// (single-byte, or a double-byte code page with lead bytes 0x81 to 0xFE) and
// the rest, up to its first NUL byte, is the script.
#include "FuzzSupport.h"
#include "RegistryScriptText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

using namespace registry_script;

namespace {

// Like CharNextA in a double-byte code page: a lead byte followed by a
// non-NUL byte is one character of two bytes.
const char* NextDoubleByteChar(const char* position) {
    const auto lead = static_cast<unsigned char>(*position);
    if (lead >= 0x81 && lead <= 0xFE && position[1] != '\0') return position + 2;
    return position + 1;
}

// The replacements the module's scripts use, and one that expands to a
// script fragment; any other name is unknown.
class FuzzReplacements : public ReplacementSource {
public:
    TextStatus Replacement(std::string_view name, std::string& text) const override {
        if (name == "MODULE") {
            text = "C:\\Program Files\\Pendrel\\Module.dll";
        } else if (name == "APPID") {
            text = "{11111111-2222-3333-4444-555555555555}";
        } else if (name == "BLOCK") {
            text = "{ val X = s 'y' }";
        } else if (name == "EMPTY") {
            text.clear();
        } else {
            return TextStatus::SyntaxError;
        }
        return TextStatus::Ok;
    }
};

// The token as a script writes it quoted: in single quotes, each single
// quote inside doubled.
std::string Quoted(const std::string& token) {
    std::string quoted = "'";
    for (char c : token) quoted.append(c == '\'' ? 2 : 1, c);
    return quoted + "'";
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

std::string Hex(const std::vector<unsigned char>& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) text += {kDigits[b >> 4], kDigits[b & 0xF]};
    return text;
}

// A token written quoted reads back as itself. Only with single-byte
// characters: in a double-byte code page a lead byte before a quote takes
// the quote into its character, which is why scripts keep such text out of
// quotes.
void CheckQuotedReadsBack(const std::string& token, NextCharFunction next) {
    if (next != &NextSingleByteChar) return;
    const std::string script = Quoted(token);
    TokenReader reader(script.c_str(), next);
    std::string again;
    FUZZ_CHECK(reader.Read(again) == TextStatus::Ok && again == token && reader.AtEnd());
}

void CheckBinary(const std::string& token) {
    std::vector<unsigned char> binary;
    if (BinaryData(token, binary) != TextStatus::Ok) return;
    FUZZ_CHECK(binary.size() * 2 == token.size());
    // Text of hexadecimal digits only is the bytes' own hexadecimal form.
    if (std::all_of(token.begin(), token.end(), IsHexDigit)) FUZZ_CHECK(EqualsIgnoringCase(Hex(binary), token));
}

void CheckToken(const std::string& token, NextCharFunction next) {
    FUZZ_CHECK(token.size() <= kMaxTokenBytes);
    (void)KeywordOf(token);
    ValueType type;
    (void)FindValueType(token, type);
    (void)IsProtectedKeyName(token);
    (void)ContainsBackslash(token, next);
    (void)EqualsIgnoringCase(token, "ForceRemove");
    std::string multi;
    if (MultiStringData(token, next, multi) == TextStatus::Ok) {
        FUZZ_CHECK(!multi.empty() && multi.back() == '\0');
        FUZZ_CHECK(multi.size() <= token.size() + 2);
    }
    CheckBinary(token);
    CheckQuotedReadsBack(token, next);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const NextCharFunction next = (data[0] & 1) ? &NextDoubleByteChar : &NextSingleByteChar;
    const std::string script(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::string expanded;
    const FuzzReplacements replacements;
    if (ExpandReplacements(script.c_str(), replacements, next, expanded) != TextStatus::Ok)
        expanded = script;  // tokenize the raw text then, so the tokenizer still gets fuzzed
    // Text without a "%" expands to itself (up to its first NUL byte).
    if (script.find('%') == std::string::npos) FUZZ_CHECK(expanded == script.c_str());

    TokenReader reader(expanded.c_str(), next);
    std::string token;
    // The texts of the tokens already checked: a token's checks depend on
    // its text and the character step alone, so each text is checked once.
    std::set<std::string> checked;
    const char* const end = expanded.c_str() + expanded.size();
    // Braces open so far. The structure check walks a whole block with the
    // blocks inside it, so it runs only at a "{" outside any block, as the
    // registrar runs it at each root block; at every "{" a deeply nested
    // script would cost time that grows with the square of its length.
    size_t depth = 0;
    for (;;) {
        const char* before = reader.Position();
        if (reader.Read(token) != TextStatus::Ok) break;
        FUZZ_CHECK(reader.Position() > before && reader.Position() <= end);
        if (checked.insert(token).second) CheckToken(token, next);
        if (token == "{") {
            if (depth++ == 0) (void)CheckBlockStructure(reader);
        } else if (StartsWith(token, '}') && depth > 0) {
            --depth;
        }
    }
    FUZZ_CHECK(reader.Position() >= expanded.c_str() && reader.Position() <= end);
    return 0;
}
