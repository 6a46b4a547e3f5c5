#include "RegistryScriptText.h"

#include <new>

namespace registry_script {

namespace {

constexpr std::string_view kProtectedKeyNames[] = {
    "AppID",    "CLSID", "Component Categories", "FileType", "Interface", "Hardware",
    "Mime",     "SAM",   "SECURITY",             "SYSTEM",   "Software",  "TypeLib",
};

struct KeywordName {
    std::string_view name;
    Keyword keyword;
};
constexpr KeywordName kKeywords[] = {
    {"ForceRemove", Keyword::ForceRemove},
    {"Delete", Keyword::Delete},
    {"NoRemove", Keyword::NoRemove},
    {"Val", Keyword::Val},
};

struct ValueTypeName {
    std::string_view name;
    ValueType type;
};
constexpr ValueTypeName kValueTypes[] = {
    {"S", ValueType::String},
    {"M", ValueType::MultiString},
    {"D", ValueType::Dword},
    {"B", ValueType::Binary},
};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

}  // namespace

const char* NextSingleByteChar(const char* position) { return position + 1; }

bool IsScriptSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsWith(std::string_view text, char c) { return !text.empty() && text.front() == c; }

bool EqualsIgnoringCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (LowerAscii(left[i]) != LowerAscii(right[i])) return false;
    }
    return true;
}

bool ContainsBackslash(const std::string& name, NextCharFunction next) {
    for (const char* p = name.c_str(); *p; p = next(p)) {
        if (*p == '\\') return true;
    }
    return false;
}

TextStatus ExpandReplacements(const char* text, const ReplacementSource& source,
                              NextCharFunction next, std::string& expanded) {
    try {
        expanded.clear();
        // Room for the usual case up front; std::string doubles from there.
        std::size_t capacity = 2 * std::string_view(text).size();
        if (capacity < 100) capacity = 1000;
        expanded.reserve(capacity);

        std::string replacement;
        const char* p = text;
        while (*p) {
            if (*p != '%') {
                const char* after = next(p);
                expanded.append(p, after);
                p = after;
                continue;
            }
            const char* nameStart = p + 1;
            const char* nameEnd = nameStart;
            while (*nameEnd && *nameEnd != '%') nameEnd = next(nameEnd);
            if (!*nameEnd) return TextStatus::SyntaxError;
            const std::string_view name(nameStart, static_cast<std::size_t>(nameEnd - nameStart));
            if (name.empty()) {
                expanded.push_back('%');
            } else {
                if (name.size() > kMaxReplacementNameBytes) return TextStatus::Fail;
                const TextStatus status = source.Replacement(name, replacement);
                if (status != TextStatus::Ok) return status;
                expanded += replacement;
            }
            p = nameEnd + 1;
        }
        return TextStatus::Ok;
    } catch (const std::bad_alloc&) {
        return TextStatus::OutOfMemory;
    }
}

void TokenReader::SkipSpace() {
    while (IsScriptSpace(*m_position)) ++m_position;
}

TextStatus TokenReader::Append(std::string& token, const char* from, const char* to) {
    const auto length = static_cast<std::size_t>(to - from);
    if (token.size() + length > kMaxTokenBytes) return TextStatus::SyntaxError;
    try {
        token.append(from, length);
    } catch (const std::bad_alloc&) {
        return TextStatus::OutOfMemory;
    }
    return TextStatus::Ok;
}

TextStatus TokenReader::Read(std::string& token) {
    token.clear();
    SkipSpace();
    if (AtEnd()) return TextStatus::SyntaxError;

    const char* p = m_position;
    if (*p == '\'') {
        ++p;
        for (;;) {
            if (!*p) return TextStatus::SyntaxError;
            if (*p == '\'') {
                if (p[1] != '\'') break;
                // A doubled quote stands for one: keep the first, skip the second.
                const TextStatus status = Append(token, p, p + 1);
                if (status != TextStatus::Ok) return status;
                p += 2;
                continue;
            }
            const char* after = m_next(p);
            const TextStatus status = Append(token, p, after);
            if (status != TextStatus::Ok) return status;
            p = after;
        }
        m_position = p + 1;
        return TextStatus::Ok;
    }

    while (*p && !IsScriptSpace(*p)) {
        const char* after = m_next(p);
        const TextStatus status = Append(token, p, after);
        if (status != TextStatus::Ok) return status;
        p = after;
    }
    m_position = p;
    return TextStatus::Ok;
}

Keyword KeywordOf(std::string_view token) {
    for (const KeywordName& entry : kKeywords) {
        if (EqualsIgnoringCase(token, entry.name)) return entry.keyword;
    }
    return Keyword::None;
}

bool FindValueType(std::string_view token, ValueType& type) {
    for (const ValueTypeName& entry : kValueTypes) {
        if (EqualsIgnoringCase(token, entry.name)) {
            type = entry.type;
            return true;
        }
    }
    return false;
}

bool IsProtectedKeyName(std::string_view name) {
    for (std::string_view protectedName : kProtectedKeyNames) {
        if (EqualsIgnoringCase(name, protectedName)) return true;
    }
    return false;
}

TextStatus MultiStringData(const std::string& text, NextCharFunction next, std::string& data) {
    try {
        data.clear();
        data.reserve(text.size() + 2);
        const char* p = text.c_str();
        while (*p) {
            if (p[0] == '\\' && p[1] == '0') {
                data.push_back('\0');
                p += 2;
                continue;
            }
            const char* after = next(p);
            data.append(p, after);
            p = after;
        }
        data.append(2, '\0');
    } catch (const std::bad_alloc&) {
        return TextStatus::OutOfMemory;
    }
    // The strings end at the first empty one; keep its terminator.
    std::size_t end = 0;
    while (data[end] != '\0') end = data.find('\0', end) + 1;
    data.resize(end + 1);
    return TextStatus::Ok;
}

TextStatus BinaryData(std::string_view text, std::vector<unsigned char>& data) {
    if (text.size() % 2 != 0) return TextStatus::Fail;
    try {
        data.assign(text.size() / 2, 0);
    } catch (const std::bad_alloc&) {
        return TextStatus::Fail;
    }
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<unsigned char>(HexDigitValue(text[2 * i]) << 4 |
                                             HexDigitValue(text[2 * i + 1]));
    }
    return TextStatus::Ok;
}

TextStatus CheckBlockStructure(TokenReader reader) {
    // Any problem other than the two this check looks for ends it with Ok.
    std::string token;
    const auto read = [&reader, &token] { return reader.Read(token) == TextStatus::Ok; };

    // Reads one entry as the register walk does: its keywords one after
    // another on the current token, then a value of the parent (Val name =
    // type 'text') or a key with its optional assignment. The unregister
    // walk ends on the same token. False when a token is missing or a key
    // name is bad: the walks report those themselves.
    const auto readEntry = [&](bool& opensKey) {
        Keyword keyword = KeywordOf(token);
        opensKey = false;
        if (keyword == Keyword::ForceRemove || keyword == Keyword::Delete) {
            if (!read() || ContainsBackslash(token, reader.Next())) return false;
            if (keyword == Keyword::Delete) return read() && (!StartsWith(token, '=') || (read() && read() && read()));
            keyword = KeywordOf(token);
        }
        if (keyword == Keyword::NoRemove) {
            if (!read()) return false;
            keyword = KeywordOf(token);
        }
        if (keyword == Keyword::Val) return read() && read() && StartsWith(token, '=') && read() && read() && read();
        opensKey = true;
        if (ContainsBackslash(token, reader.Next()) || !read()) return false;
        return !StartsWith(token, '=') || (read() && read() && read());
    };

    std::size_t depth = 1;
    if (!read()) return TextStatus::Ok;
    for (;;) {
        if (StartsWith(token, '}')) {
            if (--depth == 0) return TextStatus::Ok;
            if (!read()) return TextStatus::Ok;
            continue;
        }
        bool opensKey = true;
        if (!readEntry(opensKey)) return TextStatus::Ok;
        if (token == "{") {
            if (!opensKey) return TextStatus::SyntaxError;
            if (++depth > kMaxBlockDepth) return TextStatus::SyntaxError;
            if (!read()) return TextStatus::Ok;
        }
    }
}

}  // namespace registry_script
