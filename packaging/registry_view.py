"""HKEY_CLASSES_ROOT as a client of one architecture sees it, and what changed in it.

HKLM\\Software\\Classes is exported once with the 64-bit reg.exe, which lists
every key where it is stored: the 64-bit and shared keys, and under
Classes\\Wow6432Node the keys of the 32-bit store. A view is projected from
that export:
- the 64-bit view is everything outside Wow6432Node;
- the 32-bit view takes each key below HKCR from the 32-bit store when that
  store has it (CLSID, Interface, TypeLib, and whatever a 64-bit process wrote
  through the 32-bit view), else the shared key of the same name (a ProgID
  written by a 32-bit process). This is what Wine shows a 32-bit process: it
  opens such keys, while its enumeration of HKCR lists only the shared names,
  so the 32-bit reg.exe's own export would miss keys that exist only in the
  32-bit store.

A view is a dict from the lower-cased key path (relative to HKCR) to a Key.
Only string values are decoded; any other value keeps its .reg text, which is
enough to tell whether it changed.
"""
import os
import re
import tempfile

CLASSES = "HKEY_LOCAL_MACHINE\\Software\\Classes"
STORE_32BIT = "wow6432node"


class Key:
    def __init__(self, path):
        self.path = path
        self.values = {}  # lower-cased name ("" for the default value) -> (name, data)

    def entries(self):
        """(path, name, data) of each value; (path, None, None) for a key without values."""
        if not self.values:
            return [(self.path, None, None)]
        return [(self.path, name, data) for name, data in self.values.values()]


def read_view(prefix, arch):
    """HKCR of the ScratchPrefix PREFIX in ARCH's view."""
    return project(read_stored(prefix), arch)


def read_stored(prefix):
    """Every key of HKCR where it is stored, the 32-bit store under Wow6432Node."""
    handle, host_path = tempfile.mkstemp(suffix=".reg", dir=prefix.path)
    os.close(handle)
    try:
        result = prefix.wine(prefix.program("x64", "reg.exe"), "export", CLASSES, "Z:" + host_path, "/y")
        if result.returncode != 0:
            raise RuntimeError("reg export of HKCR failed: %s" % result.stderr.strip())
        with open(host_path, encoding="utf-16") as export:
            return parse_export(export.read())
    finally:
        os.remove(host_path)


def project(stored, arch):
    if arch == "x64":
        return {lower: key for lower, key in stored.items() if _top(lower) != STORE_32BIT}
    in_32bit_store = {_top(lower[len(STORE_32BIT) + 1:]) for lower in stored if _top(lower) == STORE_32BIT}
    view = {}
    for lower, key in stored.items():
        if _top(lower) == STORE_32BIT and "\\" in lower:
            relocated = Key(key.path.split("\\", 1)[1])
            relocated.values = key.values
            view[lower.split("\\", 1)[1]] = relocated
        elif _top(lower) != STORE_32BIT and _top(lower) not in in_32bit_store:
            view[lower] = key
    return view


def _top(lower_path):
    return lower_path.split("\\", 1)[0]


def parse_export(text):
    view = {}
    key = None
    for line in _logical_lines(text):
        if line.startswith("[") and line.endswith("]"):
            key = _key_for(line[1:-1], view)
        elif key is not None and "=" in line:
            name, data = _split_value(line)
            key.values[name.lower()] = (name, _decode(data))
    return view


def _key_for(full_path, view):
    if not full_path.lower().startswith(CLASSES.lower() + "\\"):
        return None
    path = full_path[len(CLASSES) + 1:]
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
    return re.sub(r"\\(.)", r"\1", text)


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
    """Keys and values of BEFORE that AFTER no longer has, or has with other data."""
    return added(after, before)


def entries(view):
    """Every (path, name, data) of VIEW, sorted, with keys compared without case."""
    rows = [row for key in view.values() for row in key.entries()]
    return sorted(rows, key=lambda row: (row[0].lower(), (row[1] or "").lower()))
