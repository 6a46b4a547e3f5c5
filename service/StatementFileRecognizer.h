// The file test the module gives the host's file chooser.
#pragma once

// Writes "Orvale Online For Business - Statement" into `title` and returns 1
// when `path` (narrow, ANSI code page) is a statement file of this format;
// otherwise returns 0 and leaves `title` alone. Reads no more than the
// format check needs. A null argument gives 0.
int RecognizeStatementFile(char* title, const char* path);
