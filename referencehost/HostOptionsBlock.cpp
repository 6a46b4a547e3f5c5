#include "HostOptionsBlock.h"

#include <cstring>

namespace reference_host {

OptionsBlock HostOptionsBlock() {
    OptionsBlock block{};
    for (std::size_t position = sizeof(FileRecognizer); position < block.size(); ++position)
        block[position] = static_cast<unsigned char>(position + 1);
    return block;
}

FileRecognizer RecognizerOf(const OptionsBlock& block) {
    FileRecognizer recognizer = nullptr;
    std::memcpy(&recognizer, block.data(), sizeof recognizer);
    return recognizer;
}

}  // namespace reference_host
