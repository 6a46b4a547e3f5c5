// The reference host's file chooser options block (see FileChooserOptions
// in HostContract.h): what its bank set-up writes into it, and how its file
// chooser finds the recognizer in it.
#pragma once

#include "HostContract.h"

#include <array>
#include <cstddef>

namespace reference_host {

// The title buffer given to the recognizer, and what it holds before the call.
inline constexpr std::size_t kTitleBufferSize = 256;
inline constexpr char kUntouchedTitle[] = "(title untouched)";

using OptionsBlock = std::array<unsigned char, kFileChooserOptionsSize>;

// What GetFileOptions writes: a null recognizer field, then at each later
// position p the byte p + 1 (modulo 256).
OptionsBlock HostOptionsBlock();
// The recognizer the block's first field holds, or null.
FileRecognizer RecognizerOf(const OptionsBlock& block);

}  // namespace reference_host
