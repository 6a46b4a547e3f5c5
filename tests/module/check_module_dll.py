#!/usr/bin/env python3
"""Checks a built module DLL without running it: its exports, its registry
scripts, its type library resource and its version information.

usage: check_module_dll.py OBJDUMP DLL EXPECTED_SYSKIND

OBJDUMP is the cross objdump of the DLL's architecture; EXPECTED_SYSKIND is
win32 or win64, the system kind its embedded type library must have.
"""
import struct
import subprocess
import sys

EXPORTS = ["DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"]
RT_VERSION = 16
REGISTRY_SCRIPTS = [101, 102, 104]
SYSKINDS = {"win32": 1, "win64": 3}


class PortableExecutable:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for virtual_size, virtual_address, raw_size, raw_pointer in self.sections:
            if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
                return raw_pointer + rva - virtual_address
        raise ValueError("address outside every section: %#x" % rva)

    def _entries(self, directory):
        base = self.offset(self.resource_rva)
        named, numbered = struct.unpack_from("<12xHH", self.data, base + directory)
        for index in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * index)
            if name & 0x80000000:
                length = struct.unpack_from("<H", self.data, base + (name & 0x7FFFFFFF))[0]
                start = base + (name & 0x7FFFFFFF) + 2
                name = self.data[start:start + 2 * length].decode("utf-16-le")
            yield name, target

    def resource(self, kind, identifier):
        """Bytes of the first language of resource (kind, identifier), or None."""
        if not self.resource_rva:
            return None
        base = self.offset(self.resource_rva)
        for name, target in self._entries(0):
            if name != kind:
                continue
            for sub_name, sub_target in self._entries(target & 0x7FFFFFFF):
                if sub_name != identifier:
                    continue
                for _, leaf in self._entries(sub_target & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(rva)
                    return self.data[start:start + size]
        return None


def exported_names(objdump, dll):
    text = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout
    if "[Ordinal/Name Pointer] Table" not in text:
        return []
    table = text.split("[Ordinal/Name Pointer] Table", 1)[1].split("\n\n", 1)[0]
    return sorted(line.split("]", 1)[1].strip() for line in table.strip().splitlines())


def main():
    objdump, dll, syskind = sys.argv[1:4]
    failures = []
    names = exported_names(objdump, dll)
    if names != EXPORTS:
        failures.append("exports are %s, expected %s" % (names, EXPORTS))
    with open(dll, "rb") as handle:
        image = PortableExecutable(handle.read())
    library = image.resource("TYPELIB", 1)
    if library is None or library[:4] != b"MSFT":
        failures.append("no type library in resource TYPELIB 1")
    elif struct.unpack_from("<I", library, 20)[0] & 0xF != SYSKINDS[syskind]:
        failures.append("type library is not of system kind %s" % syskind)
    for script in REGISTRY_SCRIPTS:
        text = image.resource("REGISTRY", script)
        if text is None or not text.startswith(b"HKCR\r\n{\r\n"):
            failures.append("no registry script %d" % script)
    version = image.resource(RT_VERSION, 1)
    if version is None or "VS_VERSION_INFO".encode("utf-16-le") not in version:
        failures.append("no version information")
    elif "OLESelfRegister".encode("utf-16-le") not in version:
        failures.append("the version information does not mark the DLL self-registering")
    for failure in failures:
        print("%s: %s" % (dll, failure))
    print("%s: %s" % (dll, "FAILED" if failures else "exports, registry scripts, type library and version information as expected"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
