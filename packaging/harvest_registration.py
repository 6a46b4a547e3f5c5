#!/usr/bin/env python3
"""Writes the MSI's registry entries from what the module's own DllRegisterServer writes.

usage: python3 -m packaging.harvest_registration SCRATCH_PREFIX OUT_DIR x64=DLL x86=DLL

In a fresh scratch prefix, each DLL is registered with the regsvr32 of its
architecture and HKCR is read back, before and after, in that architecture's
view; the difference is the registration. On a machine that runs no 32-bit
code the x86 DLL cannot be registered there: its registration is worked out
from the x64 DLL's instead (derived below), which needs no 32-bit code. It is
written as OUT_DIR/x86-derived.wxi on every machine, so that where both run
the package tests hold it equal to the harvest. Each is written as OUT_DIR/ARCH.wxi,
one WiX RegistryValue per value, for the package's module component, with
the DLL's path as [#ModuleDll] (the installed file). A key without values
and without subkeys (Programmable, the implemented category) is written as a
key the package creates and removes whole ("*"); keys that only hold subkeys
come with their subkeys. The DLL is unregistered again after each read.

So the MSI and DllRegisterServer cannot drift apart: a change to the
registry scripts, the category or the type library reaches the package with
the next build.
"""
import ntpath
import os
import sys
from xml.sax.saxutils import quoteattr

from buildtools.messages import say
from buildtools.wine import ScratchPrefix
from packaging import pe_image, registry_view

DLL_REFERENCE = "[#ModuleDll]"


def harvest(prefix, arch, dll):
    """The keys DllRegisterServer of DLL adds to ARCH's view of PREFIX."""
    regsvr32 = prefix.program(arch, "regsvr32.exe")
    before = registry_view.read_view(prefix, arch)
    registered = prefix.wine(regsvr32, "/s", "Z:" + dll)
    if registered.returncode != 0:
        raise RuntimeError("regsvr32 of the %s DLL failed (exit code %d)" % (arch, registered.returncode))
    try:
        return registry_view.added(before, registry_view.read_view(prefix, arch))
    finally:
        prefix.wine(regsvr32, "/s", "/u", "Z:" + dll)


def derived(changes, dll, other_dll):
    """The registration OTHER_DLL's DllRegisterServer writes into its own view,
    worked out from CHANGES, what DLL's wrote into its view, without running
    OTHER_DLL. The two must carry the same registry scripts, byte for byte;
    then they write the same keys and values, but for the path of the DLL
    itself (the installed file's in the package) and the platform key of the
    type library's registration, which names the library's system kind
    (win32, win64) as each DLL's embedded library states it."""
    image, other = pe_image.read(dll), pe_image.read(other_dll)
    if image.resources(pe_image.REGISTRY) != other.resources(pe_image.REGISTRY):
        raise RuntimeError("the registry scripts of %s and %s differ: the registration of the second cannot be "
                           "worked out from the first's" % (dll, other_dll))
    platform, other_platform = image.type_library_platform(), other.type_library_platform()
    if not platform or not other_platform:
        raise RuntimeError("no type library in %s or %s" % (dll, other_dll))
    result = {}
    for key in changes.values():
        parts = key.path.split("\\")
        if len(parts) == 5 and parts[0].lower() == "typelib" and parts[4].lower() == platform:
            parts[4] = other_platform
        moved = registry_view.Key("\\".join(parts))
        moved.values = key.values
        result[moved.path.lower()] = moved
    return result


def installer_value(data, dll_windows_path):
    """DATA as the MSI writes it: the DLL's path becomes the installed file's."""
    if not registry_view.is_string(data):
        raise RuntimeError("DllRegisterServer wrote a value that is not a string: %s" % data)
    if data.lower() == dll_windows_path.lower():
        return DLL_REFERENCE
    if ntpath.dirname(dll_windows_path).lower() in data.lower():
        raise RuntimeError("a registry value names the DLL's folder in a way the package cannot follow: %s" % data)
    # Brackets are the installer's formatting syntax; [\[] and [\]] write them as they are.
    return "".join({"[": "[\\[]", "]": "[\\]]"}.get(character, character) for character in data)


def wix_include(changes, dll_windows_path):
    paths = sorted(key.path for key in changes.values())
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             "<!-- Written by packaging/harvest_registration.py from the module's DllRegisterServer. -->",
             "<Include>"]
    for path in paths:
        key = changes[path.lower()]
        if not key.values:
            if not any(other.lower().startswith(path.lower() + "\\") for other in paths):
                lines.append('  <RegistryValue Root="HKCR" Key=%s Name="*" Type="string" Value=""/>' % quoteattr(path))
            continue
        for lower_name in sorted(key.values):
            name, data = key.values[lower_name]
            name_attribute = " Name=%s" % quoteattr(name) if name else ""
            lines.append('  <RegistryValue Root="HKCR" Key=%s%s Type="string" Value=%s/>'
                         % (quoteattr(path), name_attribute, quoteattr(installer_value(data, dll_windows_path))))
    lines.append("</Include>")
    return "\n".join(lines) + "\n"


def harvested(prefix, arch, dll):
    changes = harvest(prefix, arch, dll)
    if not changes:
        raise RuntimeError("registering the %s DLL changed nothing in its registry view" % arch)
    return changes


def main():
    scratch, out_dir = sys.argv[1:3]
    dlls = {arch: os.path.abspath(dll) for arch, dll in (argument.split("=", 1) for argument in sys.argv[3:])}
    os.makedirs(out_dir, exist_ok=True)
    # Each registration with the DLL whose path its values hold.
    with ScratchPrefix(scratch) as prefix:
        registrations = {"x64": (harvested(prefix, "x64", dlls["x64"]), dlls["x64"])}
        if prefix.runs_x86:
            registrations["x86"] = (harvested(prefix, "x86", dlls["x86"]), dlls["x86"])
        else:
            say("the x86 DLL's registration worked out from the x64 DLL's, as %s" % prefix.x86_reason)
    registrations["x86-derived"] = (derived(registrations["x64"][0], dlls["x64"], dlls["x86"]), dlls["x64"])
    registrations.setdefault("x86", registrations["x86-derived"])
    for name, (changes, dll) in registrations.items():
        with open(os.path.join(out_dir, name + ".wxi"), "w") as out:
            out.write(wix_include(changes, "Z:" + dll.replace("/", "\\")))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except RuntimeError as error:
        print("package: %s" % error, file=sys.stderr)
        sys.exit(1)
