"""The MSIs' tables, checked without running anything of the package, for
both architectures on every machine.

- The File table gives the DLL and the preview tool the version of their
  version resources (Windows Installer compares installed files by it); the
  type library file has none.
- The Registry table holds exactly the entries of the registration the MSI
  was built with (build/package-registration/ARCH.wxi).
- Where the x86 DLL was registered to harvest its entries, the entries worked
  out from the x64 DLL's without running the x86 one (x86-derived.wxi, what
  the x86 MSI holds on a machine that runs no 32-bit code) equal that harvest,
  key names compared as the registry compares them, regardless of case.
"""
import os
import subprocess
import xml.etree.ElementTree as ElementTree

HKCR = "0"


def msi_table(msi, name):
    """The rows of the MSI's table NAME, each a list of its columns' texts."""
    table = subprocess.run(["msiinfo", "export", msi, name], capture_output=True, text=True, check=True).stdout
    return [line.split("\t") for line in table.splitlines()[3:]]


def registry_rows(msi):
    return sorted((key.lower(), name, value) for _, root, key, name, value, _ in msi_table(msi, "Registry")
                  if root == HKCR)


def registration_entries(wxi):
    return sorted((value.get("Key").lower(), value.get("Name", ""), value.get("Value"))
                  for value in ElementTree.parse(wxi).getroot().iter("RegistryValue"))


def check(results, msis, version, registration, x86_harvested):
    """MSIS: {arch: path}; REGISTRATION: the folder of the .wxi files."""
    for arch, msi in msis.items():
        versions = {row[0]: row[4] for row in msi_table(msi, "File")}
        results.expect("%s File table versions" % arch, versions,
                       {"ModuleDll": version + ".0", "ModuleTypeLibrary": "", "PreviewToolExe": version + ".0"})
        results.expect("%s Registry table is the registration it was built with" % arch, registry_rows(msi),
                       registration_entries(os.path.join(registration, arch + ".wxi")))
    if x86_harvested:
        results.expect("x86 registration worked out from the x64 DLL's equals the harvest of the x86 DLL",
                       registration_entries(os.path.join(registration, "x86-derived.wxi")),
                       registration_entries(os.path.join(registration, "x86.wxi")))
