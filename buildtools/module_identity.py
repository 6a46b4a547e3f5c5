"""The module's name and version as a build tree has them: the build
configures them into module/ModuleIdentity.h (from the project's
CMakeLists.txt), and the scripts that look for the module's files or name
its package read them there, so that none spells them itself.

Command line (python3 -m buildtools.module_identity): name TREE or version
TREE prints the one asked for.
"""
import os
import re
import sys

HEADER = os.path.join("module", "ModuleIdentity.h")
DEFINES = {"name": "PENDREL_MODULE_NAME", "version": "PENDREL_VERSION_TEXT"}


def read(tree, what):
    """What (name or version) of the module built in TREE; a RuntimeError
    naming the header when the tree has no such header or value."""
    path = os.path.join(tree, HEADER)
    try:
        with open(path, encoding="utf-8") as header:
            text = header.read()
    except OSError as error:
        raise RuntimeError("cannot read the module's %s: %s" % (what, error)) from error
    found = re.search(r'^#define %s "([^"]+)"$' % DEFINES[what], text, re.M)
    if not found:
        raise RuntimeError("%s gives no module %s" % (path, what))
    return found.group(1)


def name(tree):
    return read(tree, "name")


def packaged_name(build):
    """The module's name in the package made from BUILD's release trees."""
    return name(os.path.join(build, "release-x64"))


def dll(tree):
    """The module DLL's path in TREE."""
    return os.path.join(tree, "module", name(tree) + ".dll")


def main(arguments):
    if len(arguments) != 2 or arguments[0] not in DEFINES:
        print("usage: python3 -m buildtools.module_identity name|version TREE", file=sys.stderr)
        return 2
    try:
        print(read(arguments[1], arguments[0]))
    except RuntimeError as error:
        print("module_identity: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
