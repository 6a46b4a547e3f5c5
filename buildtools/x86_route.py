#!/usr/bin/env python3
"""Whether, and how, this machine runs the x86 build: decided once per command.

Wine runs 32-bit Windows programs inside its 64-bit process (its WoW64 mode),
which needs the kernel to run 32-bit code: a far call into the 32-bit user
code segment. Some machines of our kind offer no such mode (a virtual machine
without 32-bit compatibility, qemu's x86_64 user-mode emulator): every 32-bit
program dies at start there, whatever the project does. One probe tells such
a machine apart in milliseconds, and its answer is one of:

- "wow64": the machine runs 32-bit code; x86 runs as x64 does, under Wine.
- "emulated": it does not (the answer says why), but the test run may take the emulated route
  (buildtools/emulated_wine.py: Debian's 32-bit Wine under qemu's user-mode
  emulator, fetched into build/ on first use). Only the test run asks for it.
- "none": x86 cannot run here; the answer carries the line that says why.

The first command to decide hands its answer to everything it starts through
the environment (PENDREL_X86_ROUTE), so that a test run, its CTest runs and
every test in them share one decision. PENDREL_NO_X86=1 makes any machine
answer "none" (no 32-bit code, no emulated route), so the path of such a
machine is tested everywhere; PENDREL_X86_EMULATED=1 makes a machine that runs
32-bit code take the emulated route all the same, to test that route.

Command line (python3 -m buildtools.x86_route): check [--emulation]: prints
nothing and exits 0 when x86 runs, else prints the line and exits with
CANNOT_RUN_X86; decide [--emulation]: prints the answer as it is handed down.
"""
import ctypes
import os
import platform
import subprocess
import sys

NO_X86 = "PENDREL_NO_X86"
FORCE_EMULATION = "PENDREL_X86_EMULATED"
DECISION = "PENDREL_X86_ROUTE"
# The exit code of a command that needs x86 on a machine that cannot run it.
CANNOT_RUN_X86 = 5

WOW64, EMULATED, NONE = "wow64", "emulated", "none"

NO_32_BIT_CODE = ("this machine runs no 32-bit code: a far call into the 32-bit code segment faults (the kernel "
                  "or the virtual machine offers no 32-bit compatibility mode)")
CANNOT_RUN = "; the x86 DLL cannot be run here"
SWITCHED_OFF = ("this machine is taken to run no 32-bit code (PENDREL_NO_X86=1 is set): the x86 DLL is not run "
                "here, neither directly nor emulated")
FORCED_EMULATION = "the x86 DLL is run here only emulated (PENDREL_X86_EMULATED=1 is set)"
NOT_X86_64 = "this machine is not x86-64 (%s)"

# 64-bit code that far-calls 32-bit code and comes back. Both lie in one page
# below 4 GB, which also holds the stack the 32-bit code runs on (it sees
# only the low half of the stack pointer). The 32-bit code sets EAX to 5 and
# then executes 0x48, "dec eax" in 32-bit code but a mere prefix in 64-bit
# code: 4 comes back only when the call really ran 32-bit code.
PAGE = 4096
ENTRY_64 = bytes([0x53, 0x48, 0x89, 0xE3,                    # push rbx; mov rbx, rsp
                  0x48, 0x8D, 0x25, 0xF5, 0x07, 0x00, 0x00,  # lea rsp, [page + 0x800]
                  0xFF, 0x1D, 0xEF, 0x01, 0x00, 0x00,        # call far [page + 0x200]
                  0x48, 0x89, 0xDC, 0x5B, 0xC3])             # mov rsp, rbx; pop rbx; ret
CODE_32, FAR_POINTER = 0x100, 0x200
BODY_32 = bytes([0xB8, 0x05, 0x00, 0x00, 0x00, 0x48, 0x90, 0xCB])  # mov eax, 5; dec eax; nop; retf
USER32_CS = 0x23  # the kernel's selector of 32-bit user code
RAN_32_BIT = 4


class Route:
    def __init__(self, kind, reason=""):
        self.kind = kind
        self.reason = reason

    @property
    def runs_x86(self):
        return self.kind != NONE

    def encoded(self):
        return "%s:%s" % (self.kind, self.reason) if self.reason else self.kind

    @staticmethod
    def decoded(text):
        kind, _, reason = text.partition(":")
        return Route(kind, reason) if kind in (WOW64, EMULATED, NONE) else None


def far_call_into_32_bit_code():
    """Runs the far call in this process; the number the 32-bit code left."""
    libc = ctypes.CDLL(None, use_errno=True)
    libc.mmap.restype = ctypes.c_void_p
    libc.mmap.argtypes = (ctypes.c_void_p, ctypes.c_size_t, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_long)
    read_write_execute, private_anonymous_below_2g = 7, 0x02 | 0x20 | 0x40
    page = libc.mmap(None, PAGE, read_write_execute, private_anonymous_below_2g, -1, 0)
    if page in (None, ctypes.c_void_p(-1).value):
        raise OSError(ctypes.get_errno(), "mmap")
    ctypes.memmove(page, ENTRY_64, len(ENTRY_64))
    ctypes.memmove(page + CODE_32, BODY_32, len(BODY_32))
    target = (page + CODE_32).to_bytes(4, "little") + USER32_CS.to_bytes(2, "little")
    ctypes.memmove(page + FAR_POINTER, target, len(target))
    return ctypes.CFUNCTYPE(ctypes.c_int)(page)()


def machine_runs_32_bit_code():
    """The far call, in a process of its own: where the machine has no 32-bit
    mode it dies of the fault, which only that process may do."""
    probe = subprocess.run([sys.executable, os.path.abspath(__file__), "far-call"], stdin=subprocess.DEVNULL,
                           capture_output=True, text=True)
    return probe.returncode == 0 and probe.stdout.strip() == str(RAN_32_BIT)


def probe(emulation=False):
    """This machine's answer, without asking the environment for an earlier
    one. The emulated route (an x86-64 emulator of 32-bit code) is for
    x86-64 machines only."""
    if os.environ.get(NO_X86, "") not in ("", "0"):
        return Route(NONE, SWITCHED_OFF)
    if platform.machine() not in ("x86_64", "AMD64"):
        return Route(NONE, NOT_X86_64 % platform.machine() + CANNOT_RUN)
    forced = os.environ.get(FORCE_EMULATION, "") not in ("", "0")
    runs = machine_runs_32_bit_code()
    if runs and not forced:
        return Route(WOW64)
    reason = FORCED_EMULATION if runs else NO_32_BIT_CODE
    if emulation:
        return Route(EMULATED, reason)
    return Route(NONE, reason + (", and that route serves only the test run" if runs else CANNOT_RUN))


def decide(emulation=False):
    """The answer of the command this process belongs to: the one handed down
    to it, else the probe's, which is then handed down to what it starts. A
    command that cannot use the emulated route (EMULATION false) sees an
    emulated answer as none."""
    route = Route.decoded(os.environ.get(DECISION, ""))
    if route is None:
        route = probe(emulation)
        os.environ[DECISION] = route.encoded()
    if route.kind == EMULATED and not emulation:
        return probe(emulation=False)
    return route


def main(arguments):
    if arguments == ["far-call"]:
        print(far_call_into_32_bit_code())
        return 0
    if arguments and arguments[0] in ("check", "decide") and set(arguments[1:]) <= {"--emulation"}:
        route = decide("--emulation" in arguments)
        if arguments[0] == "decide":
            print(route.encoded())
            return 0
        if route.runs_x86:
            return 0
        print(route.reason, file=sys.stderr)
        return CANNOT_RUN_X86
    print("usage: python3 -m buildtools.x86_route check|decide [--emulation]", file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
