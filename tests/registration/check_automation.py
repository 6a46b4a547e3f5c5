#!/usr/bin/env python3
"""Registers the module with regsvr32 and the host's type libraries, runs the
VBScript automation client under cscript, and unregisters everything again.

usage: check_automation.py WINE_RUN MODULE_DLL TYPELIB_TOOL HOST_TYPELIB... -- SCRIPT
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import windows_program  # noqa: E402


def main():
    separator = sys.argv.index("--")
    wine_run, module, typelib_tool, *libraries = sys.argv[1:separator]
    script = sys.argv[separator + 1]

    def wine(*arguments):
        return windows_program.run([wine_run, *arguments])

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
