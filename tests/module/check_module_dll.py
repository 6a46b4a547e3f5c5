#!/usr/bin/env python3
"""Checks a built module DLL without running it: its exports, its registry
scripts, its type library resource and its version information.

usage: python3 -m tests.module.check_module_dll OBJDUMP DLL EXPECTED_SYSKIND

OBJDUMP is the cross objdump of the DLL's architecture; EXPECTED_SYSKIND is
win32 or win64, the system kind its embedded type library must have.
"""
import subprocess
import sys

from packaging import pe_image

EXPORTS = ["DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"]
REGISTRY_SCRIPTS = [101, 102, 104]


def exported_names(objdump, dll):
    text = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout
    if "[Ordinal/Name Pointer] Table" not in text:
        return []
    table = text.split("[Ordinal/Name Pointer] Table", 1)[1].split("\n\n", 1)[0]
    return sorted(line.split("]", 1)[1].strip() for line in table.strip().splitlines())


def problems(objdump, dll, syskind):
    """What is wrong with DLL, each in a few words; none when all is well."""
    failures = []
    names = exported_names(objdump, dll)
    if names != EXPORTS:
        failures.append("exports are %s, expected %s" % (names, EXPORTS))
    image = pe_image.read(dll)
    platform = image.type_library_platform()
    if platform is None:
        failures.append("no type library in resource TYPELIB 1")
    elif platform != syskind:
        failures.append("type library is not of system kind %s" % syskind)
    for script in REGISTRY_SCRIPTS:
        text = image.resource(pe_image.REGISTRY, script)
        if text is None or not text.startswith(b"HKCR\r\n{\r\n"):
            failures.append("no registry script %d" % script)
    version = image.resource(pe_image.RT_VERSION, 1)
    if version is None or "VS_VERSION_INFO".encode("utf-16-le") not in version:
        failures.append("no version information")
    elif "OLESelfRegister".encode("utf-16-le") not in version:
        failures.append("the version information does not mark the DLL self-registering")
    return failures


def main():
    objdump, dll, syskind = sys.argv[1:4]
    failures = problems(objdump, dll, syskind)
    for failure in failures:
        print("%s: %s" % (dll, failure))
    print("%s: %s" % (dll, "FAILED" if failures else "exports, registry scripts, type library and version information as expected"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
