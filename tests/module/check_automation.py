#!/usr/bin/env python3
"""Registers the module with regsvr32 and the host's type libraries, runs the
VBScript automation client under cscript, and unregisters everything again.

usage: python3 -m tests.module.check_automation WINE_RUN ARCH MODULE_DLL TYPELIB_TOOL HOST_TYPELIB... -- SCRIPT

The regsvr32 and cscript are those of the module's architecture ARCH (x64 or
x86; for x86 the 32-bit ones, wherever the tests' Wine keeps them). The
script must print "N passed, 0 failed" as its last line: Wine's cscript ends
with exit code 0 when the script stops on an error (for example when
CreateObject cannot create the class), so the exit code alone proves nothing.
"""
import re
import sys

from buildtools import wine


def main():
    separator = sys.argv.index("--")
    wine_run, arch, module, typelib_tool, *libraries = sys.argv[1:separator]
    script = sys.argv[separator + 1]
    system_folder = wine.system_folder(arch)

    def run(*arguments):
        return wine.capture([wine_run, *arguments])

    regsvr32 = system_folder + "/regsvr32.exe"
    steps = [run(regsvr32, "/s", module), run(typelib_tool, "register", *libraries)]
    try:
        for step in steps:
            if step.returncode != 0:
                print("set-up failed: %s %s" % (step.args, step.stderr))
                return 1
        result = run(system_folder + "/cscript.exe", "//nologo", script)
        output = result.stdout.strip()
        print(output)
        if result.stderr.strip():
            print(result.stderr.strip())
        last = output.splitlines()[-1] if output else ""
        if result.returncode != 0 or not re.fullmatch(r"[1-9]\d* passed, 0 failed", last):
            print("the script did not run to its end with every check passed (exit code %d)" % result.returncode)
            return 1
        return 0
    finally:
        run(typelib_tool, "unregister", *libraries)
        run(regsvr32, "/s", "/u", module)


if __name__ == "__main__":
    sys.exit(main())
