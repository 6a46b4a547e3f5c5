#!/usr/bin/env python3
"""The package tests: makes the release package, signed with a throwaway
certificate, and checks it. Run by ./dev test after the release builds.

usage: python3 -m tests.packaging.run_package_tests ROOT BUILD

Everything is made under BUILD/package-test (the package in dist/, the
certificates, a fresh Wine prefix for the installs); the project's own dist/
is left alone. Both packages are made and checked without running them
(signatures, hardening, exports and resources, the MSIs' tables); each
architecture the machine runs is installed and used. Prints "packaging: N
passed, M failed" last.
"""
import os
import shutil
import sys
import time

from buildtools.wine import ScratchPrefix
from tests.packaging import (certificates, check_foreign_runtime, check_hardening, check_installation,
                             check_package_tables, check_signing)
from tests.packaging.results import Results

PASSWORD = "throwaway-password"
ARCHES = ("x64", "x86")


def step(name, started):
    print("==> %s (%.0f s)" % (name, time.monotonic() - started), file=sys.stderr, flush=True)


def main():
    root, build = (os.path.abspath(argument) for argument in sys.argv[1:3])
    work = os.path.join(build, "package-test")
    dist = os.path.join(work, "dist")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    started = time.monotonic()
    results = Results()
    certs = certificates.make(os.path.join(work, "certificates"), PASSWORD)
    check_signing.check_bad_input(results, root, build, work, certs, PASSWORD)
    step("bad signing input refused", started)
    made = check_signing.make_package(root, build, dist, certs[1], PASSWORD)
    if made.returncode != 0:
        print(made.stderr)
        results.expect("the signed package is made", made.returncode, 0)
        return results.report()
    step("signed package made", started)
    check_signing.check_signatures(results, dist, build, certs[0])
    check_hardening.check(results, dist, build)
    with ScratchPrefix(os.path.join(work, "prefix")) as prefix:
        msis = {arch: check_installation.Package(arch, dist, build, root).msi for arch in ARCHES}
        check_package_tables.check(results, msis, check_installation.version_of(dist),
                                   os.path.join(build, "package-registration"), prefix.runs_x86)
        step("signatures, hardening and the MSIs' tables checked; fresh prefix made", started)
        if prefix.runs_x86:
            check_foreign_runtime.check(results, prefix, dist, build)
            step("release x86 DLL checked with the compiler's runtime loaded first", started)
        else:
            print("packaging: the x86 package not installed and its DLL not run, as %s" % prefix.x86_reason)
        check_installation.check(results, prefix, work, dist, build, root, ARCHES if prefix.runs_x86 else ARCHES[:1])
    step("installations checked", started)
    return results.report()


if __name__ == "__main__":
    sys.exit(main())
