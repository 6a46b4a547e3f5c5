"""Reading a Windows PE file without running it: its resources.

The module's checks and its packaging read the DLL of either architecture
here, whatever this machine can run.
"""
import struct

RT_VERSION = 16
REGISTRY = "REGISTRY"
TYPELIB = "TYPELIB"
# A type library's system kind (the low bits of its header's flags) and the
# platform key RegisterTypeLib writes for it.
SYSKIND_KEYS = {1: "win32", 3: "win64"}


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

    def resources(self, kind):
        """{identifier: bytes} of every resource of KIND, first language each."""
        if not self.resource_rva:
            return {}
        for name, target in self._entries(0):
            if name == kind:
                return {identifier: self.resource(kind, identifier)
                        for identifier, _ in self._entries(target & 0x7FFFFFFF)}
        return {}

    def type_library_platform(self):
        """The platform key (win32, win64) of the embedded type library, or None."""
        library = self.resource(TYPELIB, 1)
        if library is None or library[:4] != b"MSFT":
            return None
        return SYSKIND_KEYS.get(struct.unpack_from("<I", library, 20)[0] & 0xF)


def read(path):
    with open(path, "rb") as image:
        return PortableExecutable(image.read())
