// What the module needs of the host's components besides their interfaces
// and class identifiers (those come from the host type library's header):
// the file chooser options block.
#pragma once

#include <MavrinBankReconciliation.h>

#include <cstddef>

// Tests a candidate file for the host's file chooser: writes the format's
// title into `title` and returns 1 when `path` is a statement of this format,
// else 0. The host calls it through FileChooserOptions, so it keeps the
// default convention for plain functions (the caller removes the arguments).
using FileRecognizer = int (*)(char* title, const char* path);

// Filled by the host's bank set-up (GetFileOptions) and read by its file
// chooser (SetOptions). The module writes only m_recognizer, after
// GetFileOptions; every other byte belongs to the host.
struct FileChooserOptions {
    FileRecognizer m_recognizer;
    unsigned char m_host[400 - sizeof(FileRecognizer)];
};
static_assert(sizeof(FileChooserOptions) == 400, "the host's block is 400 bytes");
static_assert(offsetof(FileChooserOptions, m_recognizer) == 0, "the recognizer comes first");
