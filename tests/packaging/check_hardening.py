"""The release binaries carry the hardening that INSTALL.txt promises.

From each PE file of the package: ASLR (DYNAMIC_BASE), high-entropy ASLR on
x64 (HIGH_ENTROPY_VA) and DEP (NX_COMPAT) in the optional header's
DllCharacteristics, and no import of a runtime DLL (libssp-0.dll above all:
the stack protector's library is linked in). The stack protector sets no PE
flag and the binaries are stripped, so it is checked in the release build's
recorded compile commands: every C and C++ translation unit has
-fstack-protector-strong (the resource script, also listed there, holds no code).
"""
import json
import os
import struct
import subprocess

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT = 0x0040, 0x0020, 0x0100
OBJDUMP = {"x64": "x86_64-w64-mingw32-objdump", "x86": "i686-w64-mingw32-objdump"}
CODE = (".c", ".cc", ".cpp")
SYSTEM_DLLS = {"advapi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "user32.dll",
               "shell32.dll"}


def dll_characteristics(path):
    with open(path, "rb") as image:
        data = image.read(4096)
    header = struct.unpack_from("<I", data, 0x3C)[0]
    optional_header = header + 4 + 20
    return struct.unpack_from("<H", data, optional_header + 70)[0]


def imported_dlls(arch, path):
    listing = subprocess.run([OBJDUMP[arch], "-p", path], capture_output=True, text=True, check=True).stdout
    return sorted(line.split(":", 1)[1].strip().lower() for line in listing.splitlines() if "DLL Name:" in line)


def check(results, dist, build):
    for arch in ("x64", "x86"):
        for name in ("MavrinTorvVantryNewFormat.dll", "pendrel-import.exe"):
            path = os.path.join(dist, arch, name)
            flags = dll_characteristics(path)
            results.expect("%s %s: ASLR" % (arch, name), bool(flags & DYNAMIC_BASE), True)
            results.expect("%s %s: DEP" % (arch, name), bool(flags & NX_COMPAT), True)
            results.expect("%s %s: high-entropy ASLR" % (arch, name), bool(flags & HIGH_ENTROPY_VA), arch == "x64")
            results.expect("%s %s: imports only system DLLs" % (arch, name),
                           [dll for dll in imported_dlls(arch, path) if dll not in SYSTEM_DLLS], [])
        with open(os.path.join(build, "release-" + arch, "compile_commands.json")) as commands:
            units = [unit for unit in json.load(commands) if unit["file"].endswith(CODE)]
        unprotected = [unit["file"] for unit in units if "-fstack-protector-strong" not in unit["command"].split()]
        results.expect("%s release units compiled without the stack protector" % arch, unprotected, [])
        results.expect("%s release build recorded its compile commands" % arch, len(units) > 0, True)
