#!/usr/bin/env python3
"""The layering check finds each kind of upward dependency, in a small tree
made for the purpose, and nothing in a tree without one."""
import os
import tempfile
import unittest

from tests.layering import check_layers

# The project's own floors, as its root lists them.
FLOORS = check_layers.read_floors(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

# A tree with one file per floor, each including the floor below.
SOUND_TREE = {
    "base/Failures.h": "",
    "statement/CString.h": '#include "Failures.h"\n',
    "frame/ObjectRoot.h": '#include <windows.h>\n#include "Failures.h"\n',
    "interfaces/host/MavrinEBanking.idl": 'import "oaidl.idl";\n',
    "interfaces/module/MavrinTorvVantryNewFormat.idl": 'import "MavrinEBanking.idl";\n',
    "service/StatementWalk.h": '#include "CString.h"\n#include "MavrinEBanking.h"\n',
    "service/CMakeLists.txt": "add_library(service STATIC StatementWalk.cpp)\n"
                              "target_include_directories(service PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})\n"
                              "target_link_libraries(service PUBLIC statement)\n",
    "statement/CMakeLists.txt": "add_library(statement STATIC CString.cpp)\n",
    "bank/CMakeLists.txt": "add_library(bank STATIC Bank.cpp)\n",
    "tools/explain/Explainer.cpp": '#include "StatementWalk.h"\n',
}

# Each change to the sound tree, and what the check must then say.
FAULTS = [
    ("statement/LineFields.h", '#include "ObjectRoot.h"\n', "includes ObjectRoot.h from a floor above"),
    ("frame/ClassTable.cpp", '#include "StatementWalk.h"\n', "includes StatementWalk.h from a floor above"),
    ("frame/Dispatch.h", '#include <MavrinTorvVantryNewFormat.h>\n',
     "includes MavrinTorvVantryNewFormat.h from a floor above"),
    ("interfaces/host/Contract.idl", 'import "MavrinTorvVantryNewFormat.idl";\n', "from a floor above"),
    ("statement/CMakeLists.txt",
     "add_library(statement STATIC CString.cpp)\n"
     "target_include_directories(statement PUBLIC ${CMAKE_SOURCE_DIR}/frame)\n",
     "reaches ${CMAKE_SOURCE_DIR}/frame by an include-path patch"),
    ("service/CMakeLists.txt", "add_library(service STATIC StatementWalk.cpp)\n"
                               "target_link_libraries(service PUBLIC bank)\n", "links bank from a floor above"),
    ("bank/ObjectRoot.h", "", "ObjectRoot.h is in both"),
    ("tools/stray/Stray.cpp", '#include "StatementWalk.h"\n', "tools/stray holds product sources but is on no floor"),
]


def write_tree(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as out:
            out.write(text)


class CheckLayersTest(unittest.TestCase):
    def check(self, files):
        with tempfile.TemporaryDirectory() as root:
            write_tree(root, files)
            return check_layers.check(root, FLOORS)

    def test_a_tree_that_builds_downward_passes(self):
        self.assertEqual([], self.check(SOUND_TREE))

    def test_each_upward_dependency_is_found(self):
        for path, text, expected in FAULTS:
            with self.subTest(path=path):
                problems = self.check(dict(SOUND_TREE, **{path: text}))
                self.assertEqual(1, len(problems), problems)
                self.assertIn(expected, problems[0])


if __name__ == "__main__":
    unittest.main()
