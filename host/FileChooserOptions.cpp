#include "FileChooserOptions.h"

#include <cstring>

namespace reference_host {

OptionsBlock HostOptionsBlock() {
    OptionsBlock block{};
    for (std::size_t position = sizeof(Recognizer); position < block.size(); ++position)
        block[position] = static_cast<unsigned char>(position + 1);
    return block;
}

Recognizer RecognizerOf(const OptionsBlock& block) {
    Recognizer recognizer = nullptr;
    std::memcpy(&recognizer, block.data(), sizeof recognizer);
    return recognizer;
}

}  // namespace reference_host
