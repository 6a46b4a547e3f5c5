#!/usr/bin/env python3
"""The two registry views of 64-bit Windows, with both builds of the module.

usage: python3 -m tests.module.check_registry_views WINE_RUN X64_BUILD X86_BUILD FIXTURES_DIR PROBE_SCRIPT

Skipped (exit code 77) when the x86 build is missing, when the machine runs
x86 only emulated or not at all (the two views of one prefix need Wine's
WoW64 mode), or when the tests' prefix cannot run 32-bit programs yet.

A 32-bit client sees the 32-bit view (HKLM\\Software\\Wow6432Node\\Classes),
a 64-bit client the 64-bit one; ProgIDs are shared between the two. Checked,
in this order:
- the x86 DLL registered by the 32-bit regsvr32 is created by a 32-bit
  client and not by a 64-bit one (error 429);
- with both DLLs registered, each client bitness creates its own DLL, and
  the host's type libraries are registered in both views;
- unregistering the x64 DLL also removes the ProgIDs the x86 DLL uses: the
  x86 class keys and type library stay and its class is still created by
  CLSID, but no longer by ProgID;
- registering the x86 DLL again brings its ProgIDs back.
Everything is unregistered again at the end.
"""
import os
import sys

from buildtools import module_identity, wine, x86_route

BANK_CLSID = "{FA737153-65E8-4729-866A-3BACDFC3EC76}"
MODULE_LIBID = "{A049CBBD-1E55-4CA2-A890-5DA4ABC65B7D}"
HOST_LIBRARIES = {"MavrinEBanking": "{FBE42525-AAD9-46B9-A84A-52B8E31E44A8}",
                  "MavrinBankReconciliation": "{61D14035-9C7D-4137-897C-61E4C34AEADC}"}
CREATED = "created Pendrel Business Internet Banking, 1 service"
NOT_CREATABLE = "error 429"
SKIPPED = 77  # the test's SKIP_RETURN_CODE


class Architecture:
    def __init__(self, name, build, module, system_folder, view):
        self.name = name
        self.build = build
        self.module = module  # the module DLL's file name
        self.system_folder = system_folder
        self.view = view  # reg.exe's option for this architecture's registry view

    def path(self, *parts):
        return "Z:" + os.path.join(self.build, *parts)

    @property
    def dll(self):
        return self.path("module", self.module)


def main():
    wine_run, x64_build, x86_build, fixtures, probe = sys.argv[1:6]
    module = module_identity.name(x64_build) + ".dll"
    x64 = Architecture("x64", x64_build, module, "C:/windows/system32", "/reg:64")
    x86 = Architecture("x86", x86_build, module, "C:/windows/syswow64", "/reg:32")
    failures = []

    def run(*arguments):
        return wine.capture([wine_run, *arguments])

    def libraries(arch):
        return [arch.path("typelibs", name + ".tlb") for name in HOST_LIBRARIES]

    def register(arch, unregister=False):
        regsvr32 = [arch.system_folder + "/regsvr32.exe", "/s"] + (["/u"] if unregister else [])
        results = [run(*regsvr32, arch.dll),
                   run(arch.path("tools", "pendrel-typelibs.exe"), "unregister" if unregister else "register",
                       *libraries(arch))]
        return all(result.returncode == 0 for result in results)

    def probe_from(arch):
        return run(arch.system_folder + "/cscript.exe", "//nologo", probe).stdout.strip()

    def key_exists(arch, key):
        return run("reg", "query", "HKCR\\" + key, arch.view).returncode == 0

    # The shared ProgID keys are found through the 64-bit view: Wine's reg
    # with /reg:32 does not list them.
    def progid_exists():
        return key_exists(x64, "MavrinTorvVantryNewFormat.Bank")

    def expect(what, actual, expected):
        if actual != expected:
            failures.append("%s: %r, expected %r" % (what, actual, expected))

    if not os.path.exists(x86.dll[2:]):
        print("skipped: the x86 build is missing (%s); build it with ./dev build or "
              "cmake --workflow --preset x86" % x86.dll[2:])
        return SKIPPED
    route = x86_route.decide()
    if route.kind != x86_route.WOW64:
        print("skipped: the two registry views need Wine's WoW64 mode, and %s" % route.reason)
        return SKIPPED
    if not wine.is_ready(wine.prefix_path("tests"), "x86"):
        print("skipped: the tests' Wine prefix %s cannot run 32-bit programs yet; the x86 tests "
              "(cmake --workflow --preset x86, or ./dev test) make it so" % wine.prefix_path("tests"))
        return SKIPPED
    try:
        for arch in (x64, x86):
            register(arch, unregister=True)

        expect("x86 registered", register(x86), True)
        expect("32-bit client, x86 registered", probe_from(x86), CREATED)
        expect("64-bit client, x86 registered", probe_from(x64), NOT_CREATABLE)
        expect("class key in the 32-bit view", key_exists(x86, "CLSID\\" + BANK_CLSID), True)
        expect("class key in the 64-bit view", key_exists(x64, "CLSID\\" + BANK_CLSID), False)

        expect("x64 registered", register(x64), True)
        expect("ProgID with both registered", progid_exists(), True)
        for arch in (x64, x86):
            expect(arch.name + " client, both registered", probe_from(arch), CREATED)
            server = run("reg", "query", "HKCR\\CLSID\\%s\\InprocServer32" % BANK_CLSID, "/ve", arch.view).stdout
            expect(arch.name + " view's server is its own DLL", arch.dll.replace("/", "\\").lower() in server.lower(),
                   True)
        for arch, kind in ((x86, "win32"), (x64, "win64")):
            for name, libid in HOST_LIBRARIES.items():
                expect("%s registered in the %s view" % (name, arch.name),
                       key_exists(arch, "TypeLib\\%s\\1.0\\0\\%s" % (libid, kind)), True)

        expect("x64 unregistered", register(x64, unregister=True), True)
        expect("ProgID after the x64 DLL is unregistered", progid_exists(), False)
        expect("32-bit client by ProgID after the x64 DLL is unregistered", probe_from(x86), NOT_CREATABLE)
        expect("x86 class key stays", key_exists(x86, "CLSID\\" + BANK_CLSID), True)
        expect("x86 type library stays", key_exists(x86, "TypeLib\\%s\\1.0\\0\\win32" % MODULE_LIBID), True)
        imported = run(x86.path("tools", "pendrel-import.exe"), fixtures + "/import_statement.csv",
                       "--sort-code", "12-34-56", "--account", "12345678", "--format", "csv")
        expect("x86 class created by CLSID (the import tool's exit code)", imported.returncode, 0)
        expect("lines the x86 import tool imported", imported.stdout.count("\n") - 1, 6)

        expect("x86 registered again", register(x86), True)
        expect("ProgID after registering again", progid_exists(), True)
        expect("32-bit client by ProgID after registering again", probe_from(x86), CREATED)
    finally:
        for arch in (x64, x86):
            register(arch, unregister=True)

    for failure in failures:
        print(failure)
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
