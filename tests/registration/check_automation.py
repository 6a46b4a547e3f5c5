#!/usr/bin/env python3
"""Registers the module with regsvr32 and the host's type libraries, runs the
VBScript automation client under cscript, and unregisters everything again.

usage: check_automation.py WINE_RUN MODULE_DLL TYPELIB_TOOL HOST_TYPELIB... -- SCRIPT
"""
import subprocess
import sys


def main():
    separator = sys.argv.index("--")
    wine_run, module, typelib_tool, *libraries = sys.argv[1:separator]
    script = sys.argv[separator + 1]

    def wine(*arguments):
        return subprocess.run([wine_run, *arguments], capture_output=True, text=True)

    steps = [wine("regsvr32", "/s", module), wine(typelib_tool, "register", *libraries)]
    try:
        for step in steps:
            if step.returncode != 0:
                print("set-up failed: %s %s" % (step.args, step.stderr))
                return 1
        result = wine("cscript", "//nologo", script)
        print(result.stdout.strip())
        if result.stderr.strip():
            print(result.stderr.strip())
        return result.returncode
    finally:
        wine(typelib_tool, "unregister", *libraries)
        wine("regsvr32", "/s", "/u", module)


if __name__ == "__main__":
    sys.exit(main())
