"""The x86 tests on a machine that runs no 32-bit code: Debian's 32-bit Wine
under qemu's user-mode emulator, from private folders under build/.

Where the kernel offers no 32-bit mode, Wine's WoW64 mode starts no 32-bit
program. qemu's user-mode emulator runs 32-bit Linux programs there all the
same, and Debian's 32-bit Wine (wine32, i386) under it runs the x86 test
programs, in a 32-bit prefix of their own, served by the system's 64-bit
wine server. Only the test run takes this route (see x86_route.py), and only
on such a machine (or with PENDREL_X86_EMULATED=1): nothing of it is fetched
otherwise.

- The i386 packages of wine32 and libwine, of the installed Wine's version,
  and everything they depend on, are fetched with a private apt
  configuration from the archive the installed libwine came from, and
  unpacked into build/wine-i386/root; qemu-i386 from qemu-user of the same
  archive's backports (qemu 10 or later: 7.2, the release's own, spends
  nearly all its time in its own memory bookkeeping under Wine and loses the
  trap number of the faults Wine catches) into build/wine-i386/qemu. Nothing
  is installed on the system.
- Wine starts every program, its own services included, through its
  preloader; this kernel cannot exec the i386 preloader, so the unpacked
  folder gets a preloader that hands the program to qemu-i386 instead.
- Wine's 32-bit user32 needs zlib1.dll beside the Windows DLLs and in the
  prefix's system32.
"""
import contextlib
import glob
import os
import re
import shlex
import shutil
import subprocess
from concurrent.futures import ThreadPoolExecutor

from buildtools import wine
from buildtools.messages import say

HOME = os.path.join(wine.BUILD, "wine-i386")
ROOT = os.path.join(HOME, "root")
QEMU = os.path.join(HOME, "qemu", "usr", "bin", "qemu-i386")
PREFIX = os.path.join(wine.BUILD, "test-prefix-x86-emulated")
STAMP = os.path.join(HOME, "version")
LOADER = os.path.join(ROOT, "usr", "lib", "wine", "wine")
PRELOADER = os.path.join(ROOT, "usr", "lib", "wine", "wine-preloader")
WINDOWS_DLLS = os.path.join(ROOT, "usr", "lib", "i386-linux-gnu", "wine", "i386-windows")
ZLIB = os.path.join(ROOT, "usr", "i686-w64-mingw32", "lib", "zlib1.dll")
SERVER = "/usr/lib/wine/wineserver64"
LEAST_QEMU = 10
# The program-start command: the emulator runs the 32-bit loader, with the
# address space laid out as wine.py lays out every Wine program's.
COMMAND = [*wine.WINE[:-1], QEMU, "-L", ROOT, LOADER]
# Folders of the packages that no program reads.
NOT_UNPACKED = ("./usr/share/doc", "./usr/share/man", "./usr/share/locale", "./usr/share/lintian")


def environment():
    """The environment of the emulated prefix's programs."""
    values = {name: value for name, value in os.environ.items() if name not in ("DISPLAY", "WINEDLLPATH")}
    values.setdefault("WINEDEBUG", wine.DEFAULTS["WINEDEBUG"])
    values.update(WINEPREFIX=PREFIX, WINEARCH="win32", WINESERVER=SERVER,
                  WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=")
    return values


def ready_checks():
    """sh tests that hold when the prefix is ready for the tests."""
    return ['[ -f %s ]' % shlex.quote(os.path.join(system32(), "zlib1.dll"))]


def apt_command(home, architecture, sources):
    """apt-get with a configuration of its own in HOME, for ARCHITECTURE, from SOURCES."""
    for folder in ("lists/partial", "cache/archives/partial"):
        os.makedirs(os.path.join(home, folder), exist_ok=True)
    with open(os.path.join(home, "sources.list"), "w") as out:
        out.write("".join("deb [arch=%s signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s\n"
                          % (architecture, source) for source in sources))
    options = {"Dir::Etc::sourcelist": os.path.join(home, "sources.list"), "Dir::Etc::sourceparts": "/dev/null",
               "Dir::State::lists": home + "/lists", "Dir::State::status": "/dev/null",
               "Dir::Cache": home + "/cache", "APT::Architecture": architecture,
               "APT::Architectures::": architecture, "APT::Sandbox::User": "root"}
    return ["apt-get", "-q"] + [word for name, value in options.items() for word in ("-o", name + "=" + value)]


def apt(command, home, log):
    if subprocess.run(command, cwd=home, stdout=log, stderr=log).returncode != 0:
        raise wine.WineError("cannot prepare the emulated x86 route: %s failed (see %s)"
                             % (" ".join(command[-2:]), log.name))


def fetch_wine32(uri, suite, component, version, log):
    """Downloads wine32 and libwine of VERSION, i386, with every package they
    need; returns the .deb files."""
    home = os.path.join(HOME, "apt-i386")
    command = apt_command(home, "i386", ["%s %s %s" % (uri, suite, component)])
    apt(command + ["update"], home, log)
    wanted = ["wine32=" + version, "libwine=" + version]
    plan = subprocess.run(command + ["-s", "install", "--no-install-recommends", *wanted], cwd=home,
                          capture_output=True, text=True)
    packages = ["%s=%s" % found for found in re.findall(r"^Inst (\S+) \((\S+)", plan.stdout, re.M)]
    if plan.returncode != 0 or not packages:
        raise wine.WineError("cannot prepare the emulated x86 route: apt finds no i386 wine32 %s in %s %s:\n%s"
                             % (version, uri, suite, plan.stderr.strip()))
    apt(command + ["download", *packages], home, log)
    return glob.glob(os.path.join(home, "*.deb"))


def fetch_qemu(uri, suite, component, log):
    """Downloads qemu-user of SUITE's backports; returns the .deb and its version."""
    home = os.path.join(HOME, "apt-qemu")
    command = apt_command(home, "amd64", ["%s %s-backports %s" % (uri, suite, component)])
    apt(command + ["update"], home, log)
    apt(command + ["download", "qemu-user"], home, log)
    debs = glob.glob(os.path.join(home, "qemu-user_*.deb"))
    version = subprocess.run(["dpkg-deb", "-f", debs[0], "Version"], capture_output=True, text=True).stdout.strip()
    upstream = re.match(r"(?:\d+:)?(\d+)", version)
    if not upstream or int(upstream.group(1)) < LEAST_QEMU:
        raise wine.WineError("cannot prepare the emulated x86 route: %s-backports offers qemu-user %s, and the "
                             "route needs %d or later" % (suite, version, LEAST_QEMU))
    return debs[0], version


def unpack(deb, into, *members):
    """Unpacks DEB into INTO: MEMBERS only when given, else all but the
    documentation."""
    filters = list(members) or ["--exclude=%s" % folder for folder in NOT_UNPACKED]
    script = "dpkg-deb --fsys-tarfile %s | tar -x %s" % (shlex.quote(deb), " ".join(map(shlex.quote, filters)))
    if subprocess.run(script, shell=True, cwd=into).returncode != 0:
        raise wine.WineError("cannot prepare the emulated x86 route: unpacking %s failed" % deb)


def fetch():
    """Fetches and unpacks the route's programs unless those of the installed
    Wine's version are there."""
    version = wine.installed_wine_version()
    if os.path.exists(STAMP) and open(STAMP).read().split()[0] == version and os.path.exists(QEMU):
        return
    origin = wine.libwine_origin()
    if not origin:
        raise wine.WineError("cannot prepare the emulated x86 route: no archive offers the installed libwine %s"
                             % version)
    say("fetching Debian's 32-bit Wine %s and qemu's user-mode emulator into %s (once)" % (version, HOME))
    shutil.rmtree(HOME, ignore_errors=True)
    os.makedirs(ROOT)
    with open(os.path.join(HOME, "apt.log"), "w") as log:
        debs = fetch_wine32(*origin, version, log)
        qemu_deb, qemu_version = fetch_qemu(*origin, log)
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        list(pool.map(lambda deb: unpack(deb, ROOT), debs))
    os.makedirs(os.path.join(HOME, "qemu"))
    unpack(qemu_deb, os.path.join(HOME, "qemu"), "./usr/bin/qemu-i386")
    with open(PRELOADER, "w") as preloader:
        preloader.write('#!/bin/sh\nexec %s -L %s "$@"\n' % (shlex.quote(QEMU), shlex.quote(ROOT)))
    os.chmod(PRELOADER, 0o755)
    shutil.copy(ZLIB, WINDOWS_DLLS)
    for folder in ("apt-i386", "apt-qemu"):
        shutil.rmtree(os.path.join(HOME, folder))
    with open(STAMP, "w") as out:
        out.write("%s qemu %s\n" % (version, qemu_version))


def system32():
    return wine.windows_file(PREFIX, "C:/windows/system32")


def is_ready():
    return os.path.exists(os.path.join(system32(), "zlib1.dll"))


def make_ready(values):
    if is_ready():
        return
    say("creating the emulated 32-bit Wine prefix %s (once; a few minutes)" % PREFIX)
    with contextlib.suppress(FileNotFoundError):
        wine.remove_prefix_contents(PREFIX)
    wine.boot(values, "-i", command=COMMAND, server=SERVER)
    if not os.path.exists(os.path.join(PREFIX, "system.reg")):
        raise wine.WineError("cannot prepare the emulated x86 route: wineboot made no prefix in %s (its output "
                             "is in %s)" % (PREFIX, wine.WINEBOOT_LOG))
    shutil.copy(ZLIB, system32())


def start():
    """Makes the route and its prefix ready and starts the prefix's server;
    returns the environment to run programs with."""
    fetch()
    values = environment()
    with wine.locked(PREFIX):
        if wine.server_pid(PREFIX) and is_ready():
            return values
        wine.stop_server(values, server=SERVER)
        make_ready(values)
        wine.start_server(values, command=COMMAND, server=SERVER)
    return values
