"""HKEY_CLASSES_ROOT as a client of one architecture sees it, and what changed in it.

The view is read with that architecture's own reg.exe (reg export of
HKLM\\Software\\Classes), so it is the logical view: a 32-bit reader sees the
keys that Wine keeps under Classes\\Wow6432Node merged with the shared ones,
whichever physical place a writer chose. The physical Wow6432Node subtree,
which the export also lists, is left out: it is the same data again.

A view is a dict from the lower-cased key path (relative to HKCR) to a Key.
Only string values are decoded; any other value keeps its .reg text, which is
enough to tell whether it changed.
"""
import os
import tempfile

CLASSES = "HKEY_LOCAL_MACHINE\\Software\\Classes"
PHYSICAL_32BIT_STORE = "wow6432node"


class Key:
    def __init__(self, path):
        self.path = path
        self.values = {}  # lower-cased name ("" for the default value) -> (name, data)

    def entries(self):
        """(path, name, data) of each value; (path, None, None) for a key without values."""
        if not self.values:
            return [(self.path, None, None)]
        return [(self.path, name, data) for name, data in self.values.values()]


def read_view(prefix, arch, physical=False):
    """Exports HKCR in ARCH's view from the ScratchPrefix PREFIX and parses it;
    PHYSICAL keeps the Wow6432Node subtree too (so that the 64-bit reader
    lists every key of both views where it is stored)."""
    handle, host_path = tempfile.mkstemp(suffix=".reg", dir=prefix.path)
    os.close(handle)
    try:
        result = prefix.wine(prefix.program(arch, "reg.exe"), "export", CLASSES, "Z:" + host_path, "/y")
        if result.returncode != 0:
            raise RuntimeError("reg export of the %s view failed: %s" % (arch, result.stderr.strip()))
        with open(host_path, encoding="utf-16") as export:
            return parse_export(export.read(), physical)
    finally:
        os.remove(host_path)


def parse_export(text, physical=False):
    view = {}
    key = None
    for line in _logical_lines(text):
        if line.startswith("[") and line.endswith("]"):
            key = _key_for(line[1:-1], view, physical)
        elif key is not None and "=" in line:
            name, data = _split_value(line)
            key.values[name.lower()] = (name, _decode(data))
    return view


def _key_for(full_path, view, physical):
    if not full_path.lower().startswith(CLASSES.lower() + "\\"):
        return None
    path = full_path[len(CLASSES) + 1:]
    if not physical and path.split("\\", 1)[0].lower() == PHYSICAL_32BIT_STORE:
        return None
    return view.setdefault(path.lower(), Key(path))


def _logical_lines(text):
    """Lines of a .reg text with the backslash continuations of long values joined."""
    pending = ""
    for raw in text.splitlines():
        line = pending + (raw.strip() if pending else raw)
        if line.endswith("\\") and not line.startswith("["):
            pending = line[:-1]
            continue
        pending = ""
        yield line


def _split_value(line):
    if line.startswith("@="):
        return "", line[2:]
    index, escaped = 1, False
    while index < len(line):
        if escaped:
            escaped = False
        elif line[index] == "\\":
            escaped = True
        elif line[index] == '"':
            break
        index += 1
    return _unescape(line[1:index]), line[index + 2:]


def _decode(data):
    if data.startswith('"') and data.endswith('"'):
        return _unescape(data[1:-1])
    return data  # not a string: kept as written


def _unescape(text):
    return text.replace('\\"', '"').replace("\\\\", "\\")


def is_string(data):
    return not data.startswith(("dword:", "hex", "qword:"))


def added(before, after):
    """The keys of AFTER that are new or whose values differ from BEFORE, each
    with only its new or changed values (a new key without values is kept)."""
    changes = {}
    for lower, key in after.items():
        old = before.get(lower)
        if old is None:
            changes[lower] = key
            continue
        delta = Key(key.path)
        delta.values = {name: value for name, value in key.values.items() if old.values.get(name) != value}
        if delta.values:
            changes[lower] = delta
    return changes


def removed(before, after):
    """Keys and values of BEFORE that AFTER no longer has."""
    return added(after, before)


def entries(view):
    """Every (path, name, data) of VIEW, sorted, with keys compared without case."""
    rows = [row for key in view.values() for row in key.entries()]
    return sorted(rows, key=lambda row: (row[0].lower(), (row[1] or "").lower()))
