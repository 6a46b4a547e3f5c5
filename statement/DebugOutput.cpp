// Where the statement code's diagnostic texts go: the sink a caller set, or
// else the platform's debugger output channel. Readers on several threads
// write at once, so the sink is read and replaced under one lock.
#include "Platform.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {

struct SinkSlot {
    std::mutex lock;
    DebugSink sink;
};

SinkSlot& CurrentSink() {
    static SinkSlot slot;
    return slot;
}

}  // namespace

void WriteDebugOutput(const char* text) {
    SinkSlot& slot = CurrentSink();
    const std::lock_guard<std::mutex> held(slot.lock);
    if (slot.sink)
        slot.sink(text);
    else
        WriteToDebugger(text);
}

DebugSink SetDebugSink(DebugSink sink) {
    SinkSlot& slot = CurrentSink();
    const std::lock_guard<std::mutex> held(slot.lock);
    return std::exchange(slot.sink, std::move(sink));
}

}  // namespace platform
