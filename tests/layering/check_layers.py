#!/usr/bin/env python3
"""Checks that the product's floors build only downward.

usage: python3 -m tests.layering.check_layers ROOT

The product's folders, floor by floor from the bottom, are the
pendrel_floor(FOLDER...) calls of the root CMakeLists.txt (FLOORS_FILE),
which adds them to the build in that order.
A source file may include a header of its own floor or of a floor below,
never one above; a CMake target of a product folder may link only targets of
its own floor or below, and may add only its own folders (source and build)
to the include path, never reach another folder by a path of its own. The
headers widl makes from an IDL file belong to the IDL file's floor.
Includes of headers that no product folder holds (platform and standard
headers, files generated at configure time) are not the check's business.
Tests, the benchmark and the build helpers stand outside the floors; every
other folder that holds a source file, below the top folder of a floor's
folder (tools/ for tools/text), must be on a floor itself, so that the
check reads every product file.

Prints every violation, one per line, and exits 1 when there is one.
"""
import os
import re
import sys

# The file, relative to the root, whose pendrel_floor calls list the floors,
# bottom to top.
FLOORS_FILE = "CMakeLists.txt"
FLOOR_CALL = "pendrel_floor"

SOURCE_SUFFIXES = (".h", ".cpp", ".c", ".rc", ".idl")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.MULTILINE)
IDL_IMPORT = re.compile(r'^\s*import\s+"([^"]+)"\s*;', re.MULTILINE)
# The files widl makes from NAME.idl.
GENERATED_FROM_IDL = ("{}.h", "{}_i.c", "{}.tlb")

ALLOWED_INCLUDE_DIRS = {"${CMAKE_CURRENT_SOURCE_DIR}", "${CMAKE_CURRENT_BINARY_DIR}"}
# The folder of the files widl makes: the interfaces floor publishes it.
GENERATED_DIR = "${PENDREL_TYPELIB_DIR}"
CMAKE_KEYWORDS = {"PUBLIC", "PRIVATE", "INTERFACE", "SYSTEM", "BEFORE", "AFTER"}


def read_floors(root):
    """(name, [folders]) of every floor that FLOORS_FILE under `root` lists,
    bottom first; a floor is named by its folders."""
    with open(os.path.join(root, FLOORS_FILE), encoding="utf-8") as listed:
        return [(" ".join(folders), folders) for folders in cmake_calls(listed.read(), FLOOR_CALL)]


def floor_of_folder(floors, folder):
    for index, (_, folders) in enumerate(floors):
        if folder in folders:
            return index
    return None


def product_files(root, floors):
    """(relative folder, file name) of every product source file."""
    for _, folders in floors:
        for folder in folders:
            directory = os.path.join(root, folder)
            for name in sorted(os.listdir(directory)) if os.path.isdir(directory) else []:
                if os.path.isfile(os.path.join(directory, name)):
                    yield folder, name


def check_unlisted_folders(root, floors, problems):
    """Every folder below a floor's top folder that holds a source file but
    is on no floor."""
    listed = {folder for _, folders in floors for folder in folders}
    for top in sorted({folder.split("/")[0] for folder in listed}):
        for directory, subdirectories, names in os.walk(os.path.join(root, top)):
            subdirectories.sort()
            folder = os.path.relpath(directory, root).replace(os.sep, "/")
            if folder not in listed and any(name.endswith(SOURCE_SUFFIXES) for name in names):
                problems.append("%s holds product sources but is on no floor" % folder)


def header_floors(root, floors, problems):
    """Floor of every header name a product folder holds or generates."""
    owners = {}
    for folder, name in product_files(root, floors):
        names = [name] if name.endswith((".h", ".idl")) else []
        if name.endswith(".idl"):
            names += [pattern.format(name[:-4]) for pattern in GENERATED_FROM_IDL]
        for owned in names:
            if owned in owners and owners[owned] != folder:
                problems.append("%s is in both %s and %s: an include of it is ambiguous"
                                % (owned, owners[owned], folder))
            owners[owned] = folder
    return {name: floor_of_folder(floors, folder) for name, folder in owners.items()}


def check_includes(root, floors, floors_of_headers, problems):
    for folder, name in product_files(root, floors):
        if not name.endswith(SOURCE_SUFFIXES):
            continue
        floor = floor_of_folder(floors, folder)
        with open(os.path.join(root, folder, name), encoding="utf-8", errors="replace") as source:
            text = source.read()
        for included in INCLUDE.findall(text) + IDL_IMPORT.findall(text):
            target = floors_of_headers.get(os.path.basename(included))
            if target is not None and target > floor:
                problems.append("%s/%s (%s) includes %s from a floor above, %s"
                                % (folder, name, floors[floor][0], included, floors[target][0]))


def cmake_calls(text, command):
    """The argument lists of every call of `command` in a CMake file."""
    pattern = re.compile(r"\b%s\s*\(([^)]*)\)" % command, re.IGNORECASE)
    text = re.sub(r"#[^\n]*", "", text)
    return [call.split() for call in pattern.findall(text)]


def check_targets(root, floors, problems):
    targets = {}
    calls = []
    for index, (_, folders) in enumerate(floors):
        for folder in folders:
            path = os.path.join(root, folder, "CMakeLists.txt")
            if not os.path.isfile(path):
                continue
            with open(path, encoding="utf-8") as cmake:
                text = cmake.read()
            for arguments in cmake_calls(text, "add_library") + cmake_calls(text, "add_executable"):
                targets[arguments[0]] = index
            calls.append((folder, index, text))
    for folder, floor, text in calls:
        for arguments in cmake_calls(text, "target_include_directories"):
            for directory in arguments[1:]:
                allowed = ALLOWED_INCLUDE_DIRS | ({GENERATED_DIR} if folder.startswith("interfaces/") else set())
                if directory not in CMAKE_KEYWORDS and directory not in allowed:
                    problems.append("%s/CMakeLists.txt: %s reaches %s by an include-path patch"
                                    % (folder, arguments[0], directory))
        for arguments in cmake_calls(text, "target_link_libraries"):
            for library in arguments[1:]:
                target = targets.get(library)
                if target is not None and target > floor:
                    problems.append("%s/CMakeLists.txt: %s links %s from a floor above, %s"
                                    % (folder, arguments[0], library, floors[target][0]))


def check(root, floors=None):
    """Every violation in the tree at `root`, against `floors` (by default
    the floors its own FLOORS_FILE lists)."""
    floors = read_floors(root) if floors is None else floors
    problems = []
    check_unlisted_folders(root, floors, problems)
    floors_of_headers = header_floors(root, floors, problems)
    check_includes(root, floors, floors_of_headers, problems)
    check_targets(root, floors, problems)
    return problems


def main():
    floors = read_floors(sys.argv[1])
    problems = check(sys.argv[1], floors)
    for problem in problems:
        print(problem)
    print("%d floors checked, %d problems" % (len(floors), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
