// The tool writes UTF-8: wide texts, and texts of a statement file in the
// file's own encoding, made into UTF-8 for its output.
#pragma once

#include "StatementLineTexts.h"

#include <string>

std::string Utf8(const std::wstring& text);

// Read as the import reads the file's texts (ToBstr).
std::string FileTextToUtf8(const std::string& text, FileEncoding encoding);
