// The tool writes UTF-8: wide texts, and texts of a statement file in the
// file's own encoding, made into UTF-8 for its output.
#pragma once

#include "StatementLineTexts.h"

#include <string>

std::string Utf8(const std::wstring& text);

// Read as the import reads the file's texts (ToBstr).
std::string FileTextToUtf8(const std::string& text, FileEncoding encoding);

// Whether the import reads each of the text's bytes into a character (ToBstr
// replaces those that do not read in the encoding: with U+FFFD in UTF-8).
bool ReadsWithoutReplacement(const char* text, int length, FileEncoding encoding);
