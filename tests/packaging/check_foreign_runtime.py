"""The packaged x86 DLL (stripped, hardened, signed) in a process that
already holds the compiler's shared runtime, libgcc_s_dw2-1.dll.

foreign_runtime_tests of the x86 test build, pointed at the packaged DLL,
drives paths that throw inside the DLL alone, then with the runtime loaded
before it, then with the runtime loaded and the DLL relocated, and unloads
it each time. Without the DLL's own registration of its unwind tables the
process ends with exit code 3 at the first throw.
"""
import os
import re

from buildtools import module_identity

PROGRAM = os.path.join("x86", "tests", "module", "foreign_runtime_tests.exe")
TESTS = 3


def check(results, prefix, dist, build):
    dll = "Z:" + os.path.join(dist, "x86", module_identity.packaged_name(build) + ".dll")
    run = prefix.wine(os.path.join(build, PROGRAM), PENDREL_TEST_MODULE_DLL=dll)
    passed = re.search(r"\[  PASSED  \] (\d+) tests?\.", run.stdout)
    results.expect("x86 release DLL with the compiler's runtime in the process: exit code, tests passed",
                   (run.returncode, int(passed.group(1)) if passed else 0), (0, TESTS))
