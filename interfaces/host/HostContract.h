// What the host defines for its bank modules besides the interfaces and
// class identifiers of its type libraries (those come from the headers widl
// generates from MavrinEBanking.idl and MavrinBankReconciliation.idl): the
// component category of bank modules, the file chooser options block with
// the recognizer it carries, and the sizes of the texts its bank set-up
// reads. The module and our reference host both take them from here.
#pragma once

#include <windows.h>

#include <cstddef>

// The category a bank module's bank class implements, by which the host's
// electronic-banking framework finds it.
// {D26F8DB0-D320-4FE6-BAF5-455C6126600A}
inline constexpr GUID CATID_HostCategory = {0xD26F8DB0, 0xD320, 0x4FE6, {0xBA, 0xF5, 0x45, 0x5C, 0x61, 0x26, 0x60, 0x0A}};

// The bank set-up reads the bank's display name from a zero-padded text of
// a fixed size: GetFileOptions from one of 100 bytes, OpenBankSetup from a
// record of 1024 bytes.
inline constexpr std::size_t kFileOptionsBankNameSize = 100;
inline constexpr std::size_t kBankSetupRecordSize = 1024;

// Tests a candidate file for the host's file chooser: writes the format's
// title into `title` and returns 1 when `path` (narrow, ANSI code page) is a
// statement of the module's format, else 0. The chooser calls it with the
// default convention for plain functions (the caller removes the arguments).
using FileRecognizer = int (*)(char* title, const char* path);

// The 400-byte block the bank set-up fills (GetFileOptions) and the file
// chooser takes (SetOptions). Its first, pointer-sized field is the address
// of the bank module's recognizer, which the module stores after
// GetFileOptions; every other byte belongs to the host.
inline constexpr std::size_t kFileChooserOptionsSize = 400;

struct FileChooserOptions {
    FileRecognizer m_recognizer;
    unsigned char m_host[kFileChooserOptionsSize - sizeof(FileRecognizer)];
};
static_assert(sizeof(FileChooserOptions) == kFileChooserOptionsSize, "the host's block is 400 bytes");
static_assert(offsetof(FileChooserOptions, m_recognizer) == 0, "the recognizer comes first");
