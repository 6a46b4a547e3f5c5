"""The MSI packages under Wine, in one fresh prefix, architecture by architecture.

For each architecture the machine runs (the MSIs' tables are checked for
both in check_package_tables.py):
- the preview tool is an optional feature (ADDLOCAL=Module leaves it out);
- the registration: the entries the MSI writes in HKCR of its architecture's
  view equal, entry by entry, those DllRegisterServer of the same DLL writes
  (the DLL's path aside, which is the installed file's for the MSI);
- a quiet install puts the files into Program Files of that bitness; with
  the host's type libraries registered as the host's installer would, the
  VBScript client from the cscript of that bitness uses the bank by its
  ProgID, and the installed preview tool imports a sample statement and
  writes its HTML report;
- the package built again with the same version (a new product code)
  installed over it leaves one product, the new one; a newer build installed
  over that leaves one product, of the new version (major upgrade), and the
  older package then refuses to install;
- uninstalling removes every file and every registry entry of the package
  (both views, the installer's own records included), while a key that
  someone else put under our class key survives, with its value.

Then both packages on one machine. Windows shares the ProgIDs between the two
views, so uninstalling one package there removes the ProgIDs the other one
wrote as well, and a repair of the remaining package (REINSTALL=ALL
REINSTALLMODE=m, as INSTALL.txt tells) writes them again. Wine's msiexec
writes a 32-bit package's ProgIDs into the 32-bit store instead, so that
removal is made here by hand before the repair. The type library's key is
shared too (on Windows 7 and later, and under Wine): with one package
uninstalled, a client of the other's bitness still loads the library by its
registration, from its own package's DLL.
"""
import os
import re
import subprocess

from buildtools import module_identity
from packaging import registry_view
from tests.packaging import check_package_tables

BANK_CLASS_KEY = "CLSID\\{FA737153-65E8-4729-866A-3BACDFC3EC76}"
FOREIGN_KEY = BANK_CLASS_KEY + "\\AddedBySomeoneElse"
PROGIDS = ["MavrinTorvVantryNewFormat." + name + suffix
           for name in ("Bank", "BankServices", "BankStatementService") for suffix in ("", ".1")]
PROGRAM_FILES = {"x64": "C:/Program Files", "x86": "C:/Program Files (x86)"}
CREATED = "created Pendrel Business Internet Banking, 1 service"
DLL = "<the DLL>"
INSTALLER_RECORDS = "installer"


class Package:
    """One architecture's MSI, the files beside it and what the tests need of the build."""

    def __init__(self, arch, dist, build, root):
        self.arch = arch
        self.dist = dist
        self.build = build
        self.root = root
        self.name = module_identity.packaged_name(build)
        self.msi = os.path.join(dist, "%s-%s-%s.msi" % (self.name, version_of(dist), arch))
        self.install_dir = PROGRAM_FILES[arch] + "/Pendrel/BankModule"

    def installed(self, name):
        return self.install_dir + "/" + name

    def property(self, name):
        return next(row[1] for row in check_package_tables.msi_table(self.msi, "Property") if row[0] == name)

    def host_type_libraries(self):
        folder = os.path.join(self.build, "release-" + self.arch, "typelibs")
        return ["Z:" + os.path.join(folder, name + ".tlb") for name in ("MavrinEBanking", "MavrinBankReconciliation")]

    def typelib_tool(self):
        return os.path.join(self.build, "release-" + self.arch, "tools", "pendrel-typelibs.exe")

    def typelib_probe(self):
        """The test build's program that loads the module's type library by its registration."""
        return os.path.join(self.build, self.arch, "tests", "packaging", "typelib_probe.exe")


def version_of(dist):
    with open(os.path.join(dist, "INSTALL.txt")) as text:
        return re.search(r"version (\d+\.\d+\.\d+)", text.read()).group(1)


def newer(version):
    major, minor, patch = (int(part) for part in version.split("."))
    return "%d.%d.%d" % (major, minor, patch + 1)


class Installation:
    """Runs the steps of the tests in the prefix and records what they show."""

    def __init__(self, results, prefix, work):
        self.results = results
        self.prefix = prefix
        self.work = work

    def expect(self, what, actual, expected):
        self.results.expect(what, actual, expected)

    def msiexec(self, *arguments):
        return self.prefix.wine("msiexec", *arguments, "/qn").returncode

    def view(self, arch):
        return registry_view.read_view(self.prefix, arch)

    def stored(self):
        return registry_view.read_stored(self.prefix)

    def client(self, arch, script):
        """The last line a VBScript client printed from the cscript of ARCH."""
        result = self.prefix.wine(self.prefix.program(arch, "cscript.exe"), "//nologo", "Z:" + script)
        lines = result.stdout.strip().splitlines()
        return lines[-1] if lines else ""

    def probe(self, package):
        return self.client(package.arch, os.path.join(package.root, "tests", "module", "ViewProbe.vbs"))

    def installed_products(self, package):
        """(product code, version) of each installed product of the package's upgrade code."""
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Products.vbs")
        result = self.prefix.wine(self.prefix.program("x64", "cscript.exe"), "//nologo", "Z:" + script,
                                  package.property("UpgradeCode"))
        return sorted(tuple(line.split()[:2]) for line in result.stdout.strip().splitlines() if line.strip())

    def products(self, package):
        return [version for _, version in self.installed_products(package)]

    def type_library(self, package):
        """Where a client of the package's bitness loads the module's type library from."""
        return self.prefix.wine(package.typelib_probe()).stdout.strip()

    def exists(self, windows_path):
        return os.path.exists(self.prefix.windows_file(windows_path))

    def reg(self, arch, *arguments):
        return self.prefix.wine(self.prefix.program(arch, "reg.exe"), *arguments).returncode


def windows_path(path):
    return path.replace("/", "\\")


def residue(before, after):
    """What AFTER has that BEFORE had not, but for the empty folders of Windows
    Installer's own records (HKCR\\Installer\\Products, ...), which the first
    install of any product makes and which stay."""
    return [(path, name, data) for path, name, data in registry_view.entries(registry_view.added(before, after))
            if not (name is None and path.split("\\", 1)[0].lower() == INSTALLER_RECORDS)]


def normalized(changes, dll_path):
    """The entries of CHANGES, with the DLL's path (in any case) as one marker,
    leaving out Windows Installer's own records of the product (HKCR\\Installer)."""
    return [(path, name, DLL if data is not None and data.lower() == dll_path.lower() else data)
            for path, name, data in registry_view.entries(changes)
            if path.split("\\", 1)[0].lower() != INSTALLER_RECORDS]


def check_registration(run, package):
    """MSI registration against DllRegisterServer, entry by entry."""
    arch, regsvr32 = package.arch, run.prefix.program(package.arch, "regsvr32.exe")
    dll = "Z:" + os.path.join(package.dist, package.arch, package.name + ".dll")
    baseline = run.view(arch)
    run.expect("%s regsvr32" % arch, run.prefix.wine(regsvr32, "/s", dll).returncode, 0)
    by_module = normalized(registry_view.added(baseline, run.view(arch)), dll.replace("/", "\\"))
    run.prefix.wine(regsvr32, "/s", "/u", dll)
    baseline = run.view(arch)
    run.expect("%s install" % arch, run.msiexec("/i", "Z:" + package.msi), 0)
    installed_dll = package.installed(package.name + ".dll").replace("/", "\\")
    by_installer = normalized(registry_view.added(baseline, run.view(arch)), installed_dll)
    run.expect("%s entries only DllRegisterServer writes" % arch, sorted(set(by_module) - set(by_installer)), [])
    run.expect("%s entries only the MSI writes" % arch, sorted(set(by_installer) - set(by_module)), [])
    run.expect("%s registration is not empty" % arch, len(by_module) > 40, True)


def check_installed(run, package):
    arch = package.arch
    for name in (package.name + ".dll", package.name + ".tlb", "pendrel-import.exe"):
        run.expect("%s %s installed in %s" % (arch, name, package.install_dir), run.exists(package.installed(name)), True)
    automation = os.path.join(package.root, "tests", "module", "BankAutomation.vbs")
    last = run.client(arch, automation)
    run.expect("%s VBScript client, last line" % arch, bool(re.fullmatch(r"[1-9]\d* passed, 0 failed", last)), True)
    sample = "Z:" + os.path.join(package.root, "samples", "orvale-statement-date-first.csv")
    report = os.path.join(package.build, "installed-preview-report-%s.html" % arch)
    if os.path.exists(report):
        os.remove(report)
    preview = run.prefix.wine(package.installed("pendrel-import.exe"), sample, "--sort-code", "12-34-56",
                              "--account", "45678912", "--format", "csv", "--report", "Z:" + report)
    statement_lines = len(preview.stdout.splitlines()) - 1  # after the csv header
    run.expect("%s preview tool: exit code, statement lines" % arch, (preview.returncode, statement_lines), (0, 8))
    written = open(report, encoding="utf-8").read() if os.path.exists(report) else ""
    run.expect("%s preview tool: HTML report, its table's rows" % arch,
               (written.startswith("<!DOCTYPE html>"), written.count("<tr class=\"", written.find("class=\"lines\""))),
               (True, 11))


def check_without_preview_tool(run, package):
    """The preview tool is an optional feature: ADDLOCAL=Module leaves it out."""
    arch = package.arch
    run.expect("%s install without the preview tool" % arch, run.msiexec("/i", "Z:" + package.msi, "ADDLOCAL=Module"), 0)
    run.expect("%s module and tool installed" % arch,
               (run.exists(package.installed(package.name + ".dll")), run.exists(package.installed("pendrel-import.exe"))),
               (True, False))
    run.expect("%s uninstall without the preview tool" % arch, run.msiexec("/x", "Z:" + package.msi), 0)


def rebuilt_package(run, package, version, name):
    """The package of PACKAGE's files built again, as VERSION: a new product code."""
    msi = os.path.join(run.work, "%s-%s-%s.msi" % (package.name, package.arch, name))
    registration = os.path.join(package.build, "package-registration", package.arch + ".wxi")
    subprocess.run([os.path.join(package.root, "packaging", "make-msi.sh"), package.arch, package.name, version,
                    os.path.join(package.dist, package.arch), registration, msi], check=True)
    return msi


def check_upgrade(run, package, version):
    """A package rebuilt with the same version replaces the installed one; a newer
    one replaces that; the older one then refuses to install."""
    arch = package.arch
    same = rebuilt_package(run, package, version, "rebuilt")
    upgrade = rebuilt_package(run, package, newer(version), "upgrade")
    first = run.installed_products(package)
    run.expect("%s rebuilt package of the same version installed" % arch, run.msiexec("/i", "Z:" + same), 0)
    rebuilt = run.installed_products(package)
    run.expect("%s products after the rebuilt package: one, of the same version, another product code" % arch,
               (len(rebuilt), [version for _, version in rebuilt], rebuilt != first), (1, [version], True))
    run.expect("%s products before the upgrade" % arch, run.products(package), [version])
    run.expect("%s upgrade install" % arch, run.msiexec("/i", "Z:" + upgrade), 0)
    run.expect("%s products after the upgrade" % arch, run.products(package), [newer(version)])
    run.expect("%s older package over the newer one refused" % arch, run.msiexec("/i", "Z:" + package.msi) != 0, True)
    run.expect("%s products after the refused downgrade" % arch, run.products(package), [newer(version)])
    run.expect("%s client after the upgrade" % arch, run.probe(package), CREATED)
    return upgrade


def check_uninstall(run, package, msi, logical_before, stored_before):
    arch = package.arch
    run.expect("%s foreign key added" % arch, run.reg(arch, "add", "HKCR\\" + FOREIGN_KEY, "/ve", "/d", "theirs", "/f"), 0)
    run.expect("%s uninstall" % arch, run.msiexec("/x", "Z:" + msi), 0)
    run.expect("%s products after uninstalling" % arch, run.products(package), [])
    run.expect("%s install folder removed" % arch, run.exists(PROGRAM_FILES[arch] + "/Pendrel"), False)
    run.expect("%s what stays: the class key holding the foreign key" % arch, residue(logical_before, run.view(arch)),
               [(BANK_CLASS_KEY, None, None), (FOREIGN_KEY, "", "theirs")])
    run.reg(arch, "delete", "HKCR\\" + BANK_CLASS_KEY, "/f")
    stored_after = run.stored()
    run.expect("%s registry entries left in either view" % arch, residue(stored_before, stored_after), [])
    run.expect("%s registry entries lost in either view" % arch,
               registry_view.entries(registry_view.removed(stored_before, stored_after)), [])


def check_architecture(run, package, version):
    logical_before, stored_before = run.view(package.arch), run.stored()
    check_without_preview_tool(run, package)
    check_registration(run, package)
    check_installed(run, package)
    upgrade = check_upgrade(run, package, version)
    check_uninstall(run, package, upgrade, logical_before, stored_before)


def check_both_packages(run, x64, x86):
    for package in (x64, x86):
        run.expect("%s installed beside the other" % package.arch, run.msiexec("/i", "Z:" + package.msi), 0)
    for package in (x64, x86):
        run.expect("%s client, both installed" % package.arch, run.probe(package), CREATED)
    run.expect("x64 uninstalled beside x86", run.msiexec("/x", "Z:" + x64.msi), 0)
    run.expect("x86 client after the x64 package is uninstalled", run.probe(x86), CREATED)
    run.expect("x86 type library after the x64 package is uninstalled", run.type_library(x86),
               "loaded " + windows_path(x86.installed(x86.name + ".dll")))
    for progid in PROGIDS:
        run.reg("x86", "delete", "HKCR\\" + progid, "/f")
    run.expect("x86 client without the shared ProgIDs", run.probe(x86), "error 429")
    run.expect("x86 repair", run.msiexec("/i", "Z:" + x86.msi, "REINSTALL=ALL", "REINSTALLMODE=m"), 0)
    run.expect("x86 client after the repair", run.probe(x86), CREATED)
    run.expect("x64 installed again beside x86", run.msiexec("/i", "Z:" + x64.msi), 0)
    run.expect("x86 uninstalled beside x64", run.msiexec("/x", "Z:" + x86.msi), 0)
    run.expect("x64 type library after the x86 package is uninstalled", run.type_library(x64),
               "loaded " + windows_path(x64.installed(x64.name + ".dll")))
    run.expect("x64 uninstalled", run.msiexec("/x", "Z:" + x64.msi), 0)


def prepare(run, packages):
    """What the machine has before the module comes: the host's type libraries,
    registered in each view as the host's installer would, and Wine's cscript
    of each bitness run once (its first run registers its own type library)."""
    for package in packages:
        registered = run.prefix.wine(package.typelib_tool(), "register", *package.host_type_libraries())
        run.expect("%s host type libraries registered" % package.arch, registered.returncode, 0)
        run.probe(package)


def check(results, prefix, work, dist, build, root, arches):
    """The packages of ARCHES (those the machine runs), each alone, then both
    together when both run."""
    version = version_of(dist)
    run = Installation(results, prefix, work)
    packages = {arch: Package(arch, dist, build, root) for arch in arches}
    prepare(run, packages.values())
    for package in packages.values():
        check_architecture(run, package, version)
    if len(packages) == 2:
        check_both_packages(run, packages["x64"], packages["x86"])
