#!/usr/bin/env python3
"""Writes into a package that wixl built what wixl cannot say.

usage: amend_msi.py MSI PAYLOAD

- File.Version of the DLL and of the preview tool, from each file's own
  version resource (PAYLOAD is the folder of the packaged files). wixl leaves
  the column empty, and Windows Installer then treats the files as
  unversioned: a repair or a newer package compares installed files by it.
- The Upgrade row that finds older versions of the product
  (WIX_UPGRADE_DETECTED) finds the same version too
  (msidbUpgradeAttributesVersionMaxInclusive), so that a package rebuilt with
  the same version replaces the installed one instead of installing beside
  it as a second product. wixl's MajorUpgrade has no attribute for it. The
  row that finds newer versions already leaves the same version out.

Run by make-msi.sh right after wixl, so before any signing.
"""
import os
import struct
import subprocess
import sys
import tempfile

# The File table's rows of the versioned files.
VERSIONED_FILES = ("ModuleDll", "PreviewToolExe")
OLDER_VERSIONS = "WIX_UPGRADE_DETECTED"
VERSION_MAX_INCLUSIVE = 0x200
FIXED_FILE_INFO = struct.pack("<I", 0xFEEF04BD)  # VS_FIXEDFILEINFO's signature


def file_version(path):
    """The file version of the version resource of the PE file at PATH, as a.b.c.d."""
    with open(path, "rb") as image:
        data = image.read()
    start = data.find(FIXED_FILE_INFO)
    if start < 0:
        raise RuntimeError("%s has no version resource" % path)
    most, least = struct.unpack_from("<II", data, start + 8)
    return "%d.%d.%d.%d" % (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


def exported_table(msi, table):
    """TABLE in the installer's text form (column names, column types, the
    table's name and keys, then one line per row, tab-separated): its lines,
    its column names and its rows as lists of fields."""
    lines = subprocess.run(["msiinfo", "export", msi, table], capture_output=True, text=True,
                           check=True).stdout.rstrip("\n").split("\n")
    return lines, lines[0].rstrip("\r").split("\t"), [line.rstrip("\r").split("\t") for line in lines[3:]]


def file_names(msi):
    """Each row of the File table and the long name of its file (FileName is
    "SHORT|long" when the two differ)."""
    _, columns, rows = exported_table(msi, "File")
    key, name = columns.index("File"), columns.index("FileName")
    return {row[key]: row[name].split("|")[-1] for row in rows}


def upgrade_table(msi):
    """The Upgrade table with the same version among the older versions it finds.
    Attributes is one of the table's keys, so the row is replaced whole."""
    lines, columns, rows = exported_table(msi, "Upgrade")
    older = [row for row in rows if row[columns.index("ActionProperty")] == OLDER_VERSIONS]
    if len(older) != 1:
        raise RuntimeError("%s has %d Upgrade rows for %s, expected 1" % (msi, len(older), OLDER_VERSIONS))
    attributes = columns.index("Attributes")
    older[0][attributes] = str(int(older[0][attributes] or 0) | VERSION_MAX_INCLUSIVE)
    return "\r\n".join(lines[:3] + ["\t".join(row) for row in rows]) + "\r\n"


def main():
    msi, payload = sys.argv[1:3]
    names = file_names(msi)
    for row in VERSIONED_FILES:
        query = "UPDATE `File` SET `Version` = '%s' WHERE `File` = '%s'" % (
            file_version(os.path.join(payload, names[row])), row)
        subprocess.run(["msibuild", msi, "-q", query], check=True, capture_output=True)
    with tempfile.TemporaryDirectory() as work:
        table = os.path.join(work, "Upgrade.idt")
        with open(table, "w", newline="") as out:
            out.write(upgrade_table(msi))
        subprocess.run(["msibuild", msi, "-i", table], check=True, capture_output=True)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (RuntimeError, subprocess.CalledProcessError) as error:
        print("package: %s" % error, file=sys.stderr)
        sys.exit(1)
