"""The release binaries carry the hardening that INSTALL.txt promises, and
the packaged DLLs what a host and an installer need of them; all read from
the files, without running them, for both architectures on every machine.

From each PE file of the package: ASLR (DYNAMIC_BASE, with the base
relocations that let the loader move the image), high-entropy ASLR on x64
(HIGH_ENTROPY_VA) and DEP (NX_COMPAT) in the optional header's
DllCharacteristics, and no import of a runtime DLL (libssp-0.dll above all:
the stack protector's library is linked in). From each packaged DLL: the
four exports, undecorated, its registry scripts, its type library of the
architecture's system kind and its version information (check_module_dll.py). The stack protector sets no PE
flag and the binaries are stripped, so it is checked in the release build's
recorded compile commands: every C and C++ translation unit has
-fstack-protector-strong (the resource script, also listed there, holds no code).
"""
import json
import os
import struct
import subprocess

from buildtools import module_identity
from tests.module import check_module_dll

DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT = 0x0040, 0x0020, 0x0100
OBJDUMP = {"x64": "x86_64-w64-mingw32-objdump", "x86": "i686-w64-mingw32-objdump"}
CODE = (".c", ".cc", ".cpp")
SYSTEM_DLLS = {"advapi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "user32.dll",
               "shell32.dll"}


SYSKINDS = {"x64": "win64", "x86": "win32"}
BASE_RELOCATION_DIRECTORY = 5


def optional_header(path):
    """DllCharacteristics, and the size of the base relocation directory."""
    with open(path, "rb") as image:
        data = image.read(4096)
    header = struct.unpack_from("<I", data, 0x3C)[0]
    optional = header + 4 + 20
    directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
    relocations = struct.unpack_from("<I", data, directories + 8 * BASE_RELOCATION_DIRECTORY + 4)[0]
    return struct.unpack_from("<H", data, optional + 70)[0], relocations


def imported_dlls(arch, path):
    listing = subprocess.run([OBJDUMP[arch], "-p", path], capture_output=True, text=True, check=True).stdout
    return sorted(line.split(":", 1)[1].strip().lower() for line in listing.splitlines() if "DLL Name:" in line)


def check(results, dist, build):
    module = module_identity.packaged_name(build) + ".dll"
    for arch in ("x64", "x86"):
        for name in (module, "pendrel-import.exe"):
            path = os.path.join(dist, arch, name)
            flags, relocations = optional_header(path)
            results.expect("%s %s: ASLR, with base relocations" % (arch, name),
                           (bool(flags & DYNAMIC_BASE), relocations > 0), (True, True))
            results.expect("%s %s: DEP" % (arch, name), bool(flags & NX_COMPAT), True)
            results.expect("%s %s: high-entropy ASLR" % (arch, name), bool(flags & HIGH_ENTROPY_VA), arch == "x64")
            results.expect("%s %s: imports only system DLLs" % (arch, name),
                           [dll for dll in imported_dlls(arch, path) if dll not in SYSTEM_DLLS], [])
        dll = os.path.join(dist, arch, module)
        results.expect("%s packaged DLL: exports and resources" % arch,
                       check_module_dll.problems(OBJDUMP[arch], dll, SYSKINDS[arch]), [])
        with open(os.path.join(build, "release-" + arch, "compile_commands.json")) as commands:
            units = [unit for unit in json.load(commands) if unit["file"].endswith(CODE)]
        unprotected = [unit["file"] for unit in units if "-fstack-protector-strong" not in unit["command"].split()]
        results.expect("%s release units compiled without the stack protector" % arch, unprotected, [])
        results.expect("%s release build recorded its compile commands" % arch, len(units) > 0, True)
