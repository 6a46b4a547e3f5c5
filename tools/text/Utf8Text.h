// The tool writes UTF-8: wide texts, and texts of a statement file in the
// file's own encoding, made into UTF-8 for its output.
#pragma once

#include "StatementLineTexts.h"

#include <string>

std::string Utf8(const std::wstring& text);

// Whether the import reads each of the text's bytes into a character (ToBstr
// replaces those that do not read in the encoding: with U+FFFD in UTF-8).
bool ReadsWithoutReplacement(const char* text, int length, FileEncoding encoding);

// A statement file's texts in UTF-8, each read as the import reads it
// (FileTextConverter::ToBstr) and made UTF-8 (Utf8). Bytes below 0x80,
// which the file's code page reads as themselves (asked once, when the
// reader is made), are their own UTF-8 and are taken as they stand; any
// other text takes the import's conversion and then Utf8, its plain twin.
// The tool's ExplainerTest holds the texts it gives to those the host
// received, on every fixture, of either kind.
class FileTextToUtf8 {
public:
    explicit FileTextToUtf8(FileEncoding encoding);

    // `utf8` becomes the `length` bytes at `text`, in UTF-8; its room is kept.
    void Assign(std::string& utf8, const char* text, int length);
    std::string Of(const char* text, int length);
    // `text`, of the file, becomes UTF-8.
    void InPlace(std::string& text);
    // ReadsWithoutReplacement, answered at once for bytes below 0x80.
    bool ReadsWhole(const char* text, int length) const;

private:
    bool IsPlain(const char* text, int length) const;

    FileEncoding m_encoding;
    FileTextConverter m_texts;
    bool m_readsPlainBytesAsThemselves;
};
