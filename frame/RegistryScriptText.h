// The text layer of the registry script interpreter: replacement expansion,
// the tokenizer, the keyword, value-type and protected-name tables, the
// conversion of "M" and "B" value texts to registry data, and the check of a
// block's brace structure.
//
// Nothing here touches the registry or includes a platform header, so these
// sources also build natively elsewhere (for fuzzing). The two things that
// depend on the platform come in from the caller: the step over one
// character of multibyte text (NextCharFunction; CharNextA on Windows) and
// the replacement texts (ReplacementSource).
//
// Policy: every function answers with a TextStatus and never throws; an
// allocation that fails becomes OutOfMemory (or Fail where noted). Text is
// ANSI, NUL-terminated; lengths are byte counts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace registry_script {

// Outcome of a text operation. The registrar reports SyntaxError as
// DISP_E_EXCEPTION, Fail as E_FAIL and OutOfMemory as E_OUTOFMEMORY.
enum class TextStatus { Ok, SyntaxError, Fail, OutOfMemory };

// Returns the position of the character after the one at `position`, which
// is not the terminating NUL: two bytes on for the lead byte of a double-byte
// character followed by a non-NUL byte, one byte otherwise.
using NextCharFunction = const char* (*)(const char* position);

// The step for single-byte code pages: always one byte.
const char* NextSingleByteChar(const char* position);

// A token holds at most this many bytes.
inline constexpr std::size_t kMaxTokenBytes = 4094;
// A replacement name holds at most this many bytes.
inline constexpr std::size_t kMaxReplacementNameBytes = 31;
// Blocks nest at most this deep; a root block is the first level. Deeper
// scripts are rejected before anything is written, which also bounds the
// recursion of the walks over a block.
inline constexpr std::size_t kMaxBlockDepth = 512;

// Space, tab, carriage return and line feed separate tokens.
bool IsScriptSpace(char c);
bool StartsWith(std::string_view text, char c);
// Compares two texts ignoring the case of ASCII letters only, so that the
// result does not depend on the user's locale.
bool EqualsIgnoringCase(std::string_view left, std::string_view right);
// Whether `name` holds a backslash character (a trail byte of a double-byte
// character that happens to be 0x5C does not count).
bool ContainsBackslash(const std::string& name, NextCharFunction next);

// Where ExpandReplacements gets the ANSI text of a replacement name.
class ReplacementSource {
public:
    // Sets `text` to the replacement of `name`; SyntaxError when there is none.
    virtual TextStatus Replacement(std::string_view name, std::string& text) const = 0;

protected:
    ~ReplacementSource() = default;
};

// Copies `text` into `expanded`, turning "%%" into "%" and "%name%" into the
// replacement of name. A "%" with no closing "%" is a SyntaxError, a name of
// more than kMaxReplacementNameBytes bytes is Fail, an unknown name whatever
// the source answers (SyntaxError). Replacement text is inserted verbatim.
TextStatus ExpandReplacements(const char* text, const ReplacementSource& source,
                              NextCharFunction next, std::string& expanded);

// Reads the tokens of an expanded script. A token is either quoted (runs to
// the next single quote not followed by another; two single quotes stand for
// one; the quotes are not part of it) or runs to the next whitespace or the
// end of the text. Braces and "=" are therefore tokens only when whitespace
// surrounds them.
class TokenReader {
public:
    TokenReader(const char* text, NextCharFunction next) : m_position(text), m_next(next) {}

    // Reads the next token into `token`. SyntaxError at the end of the text,
    // for a quote that is not closed and for a token over kMaxTokenBytes.
    TextStatus Read(std::string& token);
    void SkipSpace();
    bool AtEnd() const { return *m_position == '\0'; }

    const char* Position() const { return m_position; }
    void Seek(const char* position) { m_position = position; }
    NextCharFunction Next() const { return m_next; }

private:
    TextStatus Append(std::string& token, const char* from, const char* to);

    const char* m_position;
    NextCharFunction m_next;
};

// The keywords that may start an entry of a block.
enum class Keyword { None, ForceRemove, Delete, NoRemove, Val };
Keyword KeywordOf(std::string_view token);

// The value types of an assignment "= type 'text'".
enum class ValueType { String, MultiString, Dword, Binary };
// Sets `type` for a type token ("S", "M", "D", "B" in any case); false for
// any other token.
bool FindValueType(std::string_view token, ValueType& type);

// Keys that "ForceRemove" and "Delete" never delete, whatever the parent.
bool IsProtectedKeyName(std::string_view name);

// The REG_MULTI_SZ data of an "M" value: each backslash-zero pair of `text`
// separates two strings; the data runs up to and including the terminator of
// the first empty string (the closing one when no string is empty). 'a\0b'
// gives "a", NUL, "b", NUL, NUL.
TextStatus MultiStringData(const std::string& text, NextCharFunction next, std::string& data);

// The REG_BINARY data of a "B" value: two hexadecimal digits per byte, the
// first the high half; a character that is no hexadecimal digit counts as 0.
// An odd number of characters, or a buffer that cannot be allocated, is Fail.
TextStatus BinaryData(std::string_view text, std::vector<unsigned char>& data);

// Walks the root block whose "{" `reader` has just read, to its closing "}",
// the way the register and unregister walks read it, without touching
// anything. It reports, as SyntaxError, what those walks could only find
// after having written or removed part of the block: a "{" after a "Val" or
// "Delete" entry (such an entry opens no key for the block to belong to) and
// blocks nested deeper than kMaxBlockDepth. Any other problem ends the check
// with Ok, because both walks meet it at the same token and report it there
// themselves. The check keeps a count, not a stack, so any depth is safe.
TextStatus CheckBlockStructure(TokenReader reader);

}  // namespace registry_script
