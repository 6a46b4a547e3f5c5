// The x86 DLL's own unwinder knows the DLL's own unwind tables, whatever
// else the process has loaded. Built into the x86 DLL only: x64 unwinds by
// the system's SEH tables, which need no registration.
//
// On x86 a C++ exception unwinds by the DWARF-2 tables of .eh_frame, which
// the unwinder finds only once they are registered with it. The compiler's
// start-up code registers them from the first static constructor, but when
// the process already holds libgcc_s_dw2-1.dll (programs, plug-ins and shell
// extensions bring it into the host's process) it registers them with that
// foreign copy instead. Every throw inside this DLL goes through the unwinder
// linked into it, which then knows none of the DLL's functions, and the first
// one ends the host (std::terminate).
//
// So, before any other static initialiser can throw (priority 101 runs right
// after the start-up code's registration and before every other
// constructor), the DLL asks its own unwinder whether it knows one of the
// DLL's functions; if not, it registers the DLL's .eh_frame with it too, and
// deregisters it when the DLL unloads, after every static destructor. The
// foreign copy keeps what the start-up code gave it, and the start-up code
// takes it back and releases the foreign DLL at unload as it would without
// this: the foreign runtime is left as it was.
#include <stdlib.h>

extern "C" {

// What the unwinder fills in beside a found entry (libgcc's dwarf_eh_bases).
struct UnwindBases {
    void* textBase;
    void* dataBase;
    void* function;
};

// The static unwinder's entry points (libgcc_eh, linked into the DLL).
const void* _Unwind_Find_FDE(void* pc, UnwindBases* bases);
void __register_frame_info(const void* begin, void* object);
void* __deregister_frame_info(const void* begin);

// The start of the DLL's .eh_frame section, defined by OwnUnwindTables.ld
// (the section's own name cannot be read from the image at run time).
extern const char PendrelEhFrameStart[];
}

namespace {

// The unwinder's record of one registered table (libgcc's struct object, six
// pointers on x86), kept by the unwinder while the table is registered.
void* g_registration[8];

void DeregisterOwnTables() { __deregister_frame_info(PendrelEhFrameStart); }

bool OwnUnwinderKnowsThisDll() {
    UnwindBases bases{};
    return _Unwind_Find_FDE(reinterpret_cast<void*>(&OwnUnwinderKnowsThisDll), &bases) != nullptr;
}

__attribute__((constructor(101))) void RegisterOwnTables() {
    if (OwnUnwinderKnowsThisDll()) return;
    __register_frame_info(PendrelEhFrameStart, g_registration);
    // Destructors and handlers registered later run before this one.
    atexit(DeregisterOwnTables);
}

}  // namespace
