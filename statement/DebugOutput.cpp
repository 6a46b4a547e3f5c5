// Where the statement code's diagnostic texts go: the sink a caller set, or
// else the platform's debugger output channel.
#include "Platform.h"

#include <utility>

namespace platform {
namespace {

DebugSink& CurrentSink() {
    static DebugSink sink;
    return sink;
}

}  // namespace

void WriteDebugOutput(const char* text) {
    const DebugSink& sink = CurrentSink();
    if (sink)
        sink(text);
    else
        WriteToDebugger(text);
}

DebugSink SetDebugSink(DebugSink sink) { return std::exchange(CurrentSink(), std::move(sink)); }

}  // namespace platform
