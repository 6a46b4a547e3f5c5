// The 400-byte file chooser options block that the bank set-up fills and the
// file chooser takes. Its first, pointer-sized field is the address of the
// module's file recognizer (null when none was stored); the other bytes are
// the host's own, written by GetFileOptions as HostOptionsBlock() shows.
#pragma once

#include <array>
#include <cstddef>

namespace reference_host {

inline constexpr std::size_t kOptionsSize = 400;
inline constexpr std::size_t kBankNameSize = 100;     // the bank name GetFileOptions reads
inline constexpr std::size_t kBankRecordSize = 1024;  // the bank name record OpenBankSetup reads

// The module's recognizer: writes its title into `title` and returns 1 for a
// statement file of its format; the platform's default calling convention.
using Recognizer = int (*)(char* title, const char* path);

// The title buffer given to the recognizer, and what it holds before the call.
inline constexpr std::size_t kTitleBufferSize = 256;
inline constexpr char kUntouchedTitle[] = "(title untouched)";

using OptionsBlock = std::array<unsigned char, kOptionsSize>;

// What GetFileOptions writes: a null recognizer field, then at each later
// position p the byte p + 1 (modulo 256).
OptionsBlock HostOptionsBlock();
Recognizer RecognizerOf(const OptionsBlock& block);

}  // namespace reference_host
