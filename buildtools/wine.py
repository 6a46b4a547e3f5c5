#!/usr/bin/env python3
"""Wine for this project, in one place: the 32-bit Windows DLLs, the prefixes,
the wine server and the environment every Windows program runs with.

./dev, the build's wine-run (the CTest emulator), the packaging and the test
scripts all take these from here.

- The 32-bit Windows-side DLLs of the installed Wine, which its WoW64 mode
  needs to run 32-bit programs (the x86 DLL, its tests, the 32-bit regsvr32
  and cscript). They are plain PE files inside Debian's libwine:i386 of the
  same version; it is fetched with a private apt configuration (nothing is
  added to the system's architectures or written to the system's Wine) and
  only its Windows side is extracted, once, into build/wine32. Only what
  runs 32-bit programs fetches them.
- Two prefixes: the tools' (./dev import, register, bench) in build/wineprefix
  and the tests' in build/test-prefix, so that what a developer registers
  by hand never meets a test that expects the registry without it; $WINEPREFIX,
  when set, is used for both. A prefix that is to run 32-bit programs is made
  with the 32-bit DLLs at hand, so that C:\\windows\\syswow64 holds the 32-bit
  programs; one made without them is updated in place, and the project's own
  is made afresh as a last resort.
- One wine server per prefix, kept alive while programs come and go (without
  it every program pays about 3 s of start-up), with the prefix's services
  (services.exe, rpcss, ...) started from here with no terminal: started by
  a test instead, they would inherit its output pipe and CTest would wait for
  them to close it. The server ends by itself a while after the last program.
  A prefix is made or updated only with no server running, and every program
  that wineboot left behind has ended before the server is started, so that
  no test runs beside the prefix's own set-up.

Command line (python3 -m buildtools.wine --help): start, run, stop, and
emulator-lines for the build's wine-run.
"""
import argparse
import contextlib
import fcntl
import glob
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

from buildtools import x86_route
from buildtools.messages import say

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build")
WINE32 = os.path.join(BUILD, "wine32")
WINE32_DLLS = os.path.join(WINE32, "usr", "lib", "i386-linux-gnu", "wine")
PREFIXES = {"tools": os.path.join(BUILD, "wineprefix"), "tests": os.path.join(BUILD, "test-prefix")}
WINEBOOT_LOG = os.path.join(BUILD, "wineboot.log")

# Quiet programs, and no looking for the .NET and HTML engines.
DEFAULTS = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
# Where each architecture's own programs (reg, regsvr32, cscript, msiexec) live.
SYSTEM_FOLDERS = {"x64": "C:/windows/system32", "x86": "C:/windows/syswow64"}
# The 32-bit programs that show a prefix can run the x86 build.
WOW64_PROGRAMS = ("regsvr32.exe", "cscript.exe", "reg.exe")
# How every Wine program is started: with the address space laid out without
# randomisation. Randomised, the kernel places the loader's heap anywhere in
# the gigabyte above Wine's preloader, now and then over the page Wine maps
# at 0x7ffe0000 for every Windows process (the shared user data); the program
# then fails before it starts ("failed to map the shared user data: c0000018"
# with Wine's errors shown; with WINEDEBUG=-all an exit code of 1 and nothing
# printed, or, for a 32-bit program, Wine's start.exe saying "Application
# could not be started"). Programs that Wine starts inherit the setting.
WINE = ["setarch", "--addr-no-randomize", "wine"]
# Seconds the server stays after the last program has ended.
SERVER_LINGER = 60
# The server's process id, kept in the prefix; wine-run reads it too.
SERVER_PID_FILE = "pendrel-wineserver.pid"


class WineError(RuntimeError):
    pass


class CannotRunX86(WineError):
    """This machine cannot run the x86 build; the message is the probe's line."""


def prefix_path(purpose="tools"):
    """The prefix the tools or the tests run in."""
    return os.path.abspath(os.environ.get("WINEPREFIX") or PREFIXES[purpose])


def environment(prefix=None, purpose="tools"):
    """This process's environment with the Wine values: the prefix (PREFIX, else
    the one for PURPOSE), WINEDEBUG and WINEDLLOVERRIDES unless already set,
    WINEDLLPATH at the 32-bit DLLs."""
    values = dict(os.environ)
    for name, default in DEFAULTS.items():
        values.setdefault(name, default)
    values.update(WINEPREFIX=prefix or prefix_path(purpose), WINEDLLPATH=WINE32_DLLS)
    return values


def server_running_check():
    """sh: whether the server started here for $WINEPREFIX runs."""
    return ('pid=$(cat "$WINEPREFIX/%s" 2>/dev/null) && grep -q wineserver "/proc/$pid/cmdline" 2>/dev/null'
            % SERVER_PID_FILE)


def module_command(module, *arguments):
    """sh: this Python running MODULE of the project's packages with ARGUMENTS,
    from whatever folder the caller is in."""
    return "PYTHONPATH=%s %s -m %s %s" % (shlex.quote(ROOT), shlex.quote(sys.executable), module,
                                          " ".join(map(shlex.quote, arguments)))


def start_lines(arch, ready, run_lines):
    """sh lines: unless READY (sh tests) hold, this module's start for the tests
    of ARCH; then RUN_LINES, which run the program."""
    return ["{ %s; } ||" % " && ".join([server_running_check(), *ready]),
            "  %s >&2 || exit 1" % module_command("buildtools.wine", "start", "--tests", "--arch", arch),
            *run_lines]


def program_lines(command):
    """sh lines that run the program with COMMAND in the caller's place."""
    return ['exec %s "$@"' % " ".join(map(shlex.quote, command))]


def program_lines_through_files(command):
    """sh lines that run the program with COMMAND, its output kept in files
    and copied to this script's own when it ends. On the emulated route the
    programs Wine starts in the background for a test (the desktop, rpcss)
    inherit the test's output and keep it open; were it CTest's pipe, CTest
    would wait for them, minutes on end, before it ran the next test."""
    return ['out=$(mktemp) && err=$(mktemp) || exit 1',
            'trap \'rm -f "$out" "$err"\' EXIT',
            '%s "$@" >"$out" 2>"$err"' % " ".join(map(shlex.quote, command)),
            'code=$?',
            'cat "$out"; cat "$err" >&2',
            'exit $code']


def emulator_lines(arch):
    """sh lines for the build's wine-run (the CTest emulator) of ARCH: the tests'
    environment, a value already set kept; then, unless the prefix's server
    runs and the prefix can run ARCH's programs, this module's start; then
    the program, as every Wine program is started. For x86 the lines first
    take the machine's x86 route (the one handed down, else the probe's): on
    a machine without one they print why and exit with x86_route's code; on
    the emulated route they run the program there."""
    lines = []
    if arch == "x86":
        from buildtools import emulated_wine
        decide = module_command(x86_route.__name__, "decide", "--emulation")
        lines += ['[ -n "${%s-}" ] || { %s=$(%s) && export %s; } || exit 1'
                  % ((x86_route.DECISION,) * 2 + (decide, x86_route.DECISION)),
                  'case $%s in' % x86_route.DECISION,
                  '  %s:*) printf \'%%s\\n\' "${%s#%s:}" >&2; exit %d ;;'
                  % (x86_route.NONE, x86_route.DECISION, x86_route.NONE, x86_route.CANNOT_RUN_X86),
                  '  %s|%s:*)' % (x86_route.EMULATED, x86_route.EMULATED)]
        values = emulated_wine.environment()
        lines += ["    unset DISPLAY WINEDLLPATH"]
        lines += ["    export %s=%s" % (name, shlex.quote(values[name]))
                  for name in ("WINEPREFIX", "WINEARCH", "WINESERVER", "WINEDLLOVERRIDES")]
        lines += ['    [ -n "${WINEDEBUG-}" ] || export WINEDEBUG=%s' % DEFAULTS["WINEDEBUG"]]
        lines += ["    " + line for line in start_lines(arch, emulated_wine.ready_checks(),
                                                           program_lines_through_files(emulated_wine.COMMAND))]
        lines += ["    ;;", "esac"]
    defaults = dict(DEFAULTS, WINEPREFIX=PREFIXES["tests"])
    lines += ['[ -n "${%s-}" ] || %s=%s' % (name, name, shlex.quote(value)) for name, value in defaults.items()]
    lines.append("WINEDLLPATH=%s" % shlex.quote(WINE32_DLLS))
    lines.append("export %s WINEDLLPATH" % " ".join(defaults))
    ready = []
    if arch == "x86":
        ready += ['[ -f "%s" ]' % windows_file("$WINEPREFIX", SYSTEM_FOLDERS["x86"] + "/" + program)
                  for program in WOW64_PROGRAMS]
    lines += start_lines(arch, ready, program_lines(WINE))
    return "\n".join(lines)


def capture(arguments, environment=None):
    """Runs ARGUMENTS (a Windows program under wine or wine-run) and returns its
    CompletedProcess with its output as text. The output goes to temporary
    files, not pipes: a Windows program may make Wine start its own background
    programs (the desktop, rpcss), which keep any pipe they inherit open for as
    long as the wine server lives, so reading a pipe to its end would wait."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(arguments, stdin=subprocess.DEVNULL, stdout=out, stderr=err, env=environment).returncode
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(arguments, code, out.read().decode(errors="replace"),
                                           err.read().decode(errors="replace"))


def quietly(arguments, environment, log=None):
    """Runs ARGUMENTS with no terminal; its output goes to LOG (a file) or nowhere."""
    output = subprocess.DEVNULL if log is None else log
    return subprocess.run(arguments, env=environment, stdin=subprocess.DEVNULL, stdout=output, stderr=output).returncode


def windows_path(path):
    """A path of this machine as Wine's programs see it (drive Z: is the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# The 32-bit Windows DLLs.

def installed_wine_version():
    result = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libwine"], capture_output=True, text=True)
    if result.returncode != 0 or not result.stdout:
        raise WineError("libwine is not installed")
    return result.stdout


def libwine_origin():
    """(URI, suite, component) of the archive the installed libwine came from."""
    policy = subprocess.run(["apt-cache", "policy", "libwine"], capture_output=True, text=True).stdout
    installed = False
    for line in policy.splitlines():
        if line.startswith(" *** "):
            installed = True
        elif installed and line.startswith(" ") and not line.startswith("  "):
            break
        elif installed:
            fields = line.split()
            if len(fields) >= 3 and "://" in fields[1] and "/" in fields[2]:
                suite, component = fields[2].rsplit("/", 1)
                return fields[1], suite, component
    return None


def fetch_x86_dlls():
    """Fetches the 32-bit Windows DLLs into build/wine32 unless they are there,
    of the installed Wine's version."""
    version = installed_wine_version()
    stamp = os.path.join(WINE32, "version")
    kernel32 = os.path.join(WINE32_DLLS, "i386-windows", "kernel32.dll")
    if os.path.exists(kernel32) and os.path.exists(stamp) and open(stamp).read().strip() == version:
        return
    say("fetching the 32-bit Windows DLLs of Wine %s (libwine:i386) into %s" % (version, WINE32))
    origin = libwine_origin()
    if not origin:
        raise WineError("cannot run 32-bit programs: no archive offers the installed libwine %s, so its "
                        "32-bit DLLs (libwine:i386) cannot be fetched" % version)
    uri, suite, component = origin
    shutil.rmtree(WINE32, ignore_errors=True)
    apt_dir = os.path.join(WINE32, "apt")
    for folder in ("lists/partial", "cache/archives/partial"):
        os.makedirs(os.path.join(apt_dir, folder))
    sources = os.path.join(apt_dir, "sources.list")
    with open(sources, "w") as out:
        out.write("deb [arch=i386 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s %s %s\n"
                  % (uri, suite, component))
    options = {"Dir::Etc::sourcelist": sources, "Dir::Etc::sourceparts": "/dev/null",
               "Dir::State::lists": apt_dir + "/lists", "Dir::State::status": "/dev/null",
               "Dir::Cache": apt_dir + "/cache", "APT::Architecture": "i386", "APT::Architectures::": "i386",
               "APT::Sandbox::User": "root"}
    apt = ["apt-get", "-q"] + [word for name, value in options.items() for word in ("-o", name + "=" + value)]
    log_path = os.path.join(apt_dir, "apt.log")
    with open(log_path, "w") as log:
        for command in (["update"], ["download", "libwine:i386=" + version]):
            if subprocess.run(apt + command, cwd=apt_dir, stdout=log, stderr=log).returncode != 0:
                raise WineError("cannot run 32-bit programs: fetching libwine:i386=%s from %s failed (see %s)"
                                % (version, uri, log_path))
    packages = glob.glob(os.path.join(apt_dir, "libwine_*_i386.deb"))
    if not packages:
        raise WineError("cannot run 32-bit programs: libwine:i386=%s was not downloaded (see %s)" % (version, log_path))
    extract = "dpkg-deb --fsys-tarfile %s | tar -x --wildcards './usr/lib/i386-linux-gnu/wine/i386-windows/*'"
    if subprocess.run(extract % shlex.quote(packages[0]), shell=True, cwd=WINE32).returncode != 0:
        raise WineError("cannot run 32-bit programs: extracting %s failed" % packages[0])
    shutil.rmtree(apt_dir)
    if not os.path.exists(kernel32):
        raise WineError("cannot run 32-bit programs: libwine:i386 holds no i386-windows DLLs")
    with open(stamp, "w") as out:
        out.write(version + "\n")


# The prefix and its server.

def windows_file(prefix, windows_path_in_prefix):
    """The path of this machine of a C: path inside PREFIX."""
    drive, rest = windows_path_in_prefix.replace("\\", "/").split(":", 1)
    assert drive.upper() == "C"
    return os.path.join(prefix, "drive_c", rest.lstrip("/"))


def has_wow64_programs(prefix):
    return all(os.path.exists(windows_file(prefix, SYSTEM_FOLDERS["x86"] + "/" + program))
               for program in WOW64_PROGRAMS)


def is_ready(prefix, arch):
    return os.path.exists(os.path.join(prefix, "system.reg")) and (arch != "x86" or has_wow64_programs(prefix))


def boot(values, *arguments, command=WINE, server="wineserver"):
    """wineboot with ARGUMENTS, its output kept in build/wineboot.log (Wine's own
    messages let through, WINEDEBUG as the user set it, else all but fixmes, so
    that a prefix that cannot be made says why); then waits until every program
    wineboot started has ended and the server it started has gone."""
    os.makedirs(BUILD, exist_ok=True)
    with open(WINEBOOT_LOG, "a") as log:
        quietly([*command, "wineboot", *arguments], dict(values, WINEDEBUG=os.environ.get("WINEDEBUG", "fixme-all")),
                log)
    quietly([server, "-w"], values)


def make_ready(values, arch):
    """Makes the prefix, or updates it, until it can run ARCH's programs. No
    server of the prefix may be running."""
    prefix = values["WINEPREFIX"]
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        say("creating Wine prefix %s" % prefix)
        boot(values, "-i")
    if is_ready(prefix, arch):
        return
    say("adding the 32-bit programs to Wine prefix %s" % prefix)
    with contextlib.suppress(FileNotFoundError):
        os.remove(os.path.join(prefix, ".update-timestamp"))
    boot(values, "-u")
    if not is_ready(prefix, arch) and prefix in PREFIXES.values():
        say("making Wine prefix %s afresh" % prefix)
        remove_prefix_contents(prefix)
        boot(values, "-i")
    if not is_ready(prefix, arch):
        with open(WINEBOOT_LOG, errors="replace") as log:
            tail = "".join(log.readlines()[-20:])
        raise WineError("%s\ncannot run 32-bit programs: Wine prefix %s has no 32-bit programs in "
                        "C:\\windows\\syswow64 (wineboot's output above, in full in %s)" % (tail, prefix, WINEBOOT_LOG))


def remove_prefix_contents(prefix):
    """Empties PREFIX but for its lock file, which the caller holds."""
    for name in os.listdir(prefix):
        path = os.path.join(prefix, name)
        if name == LOCK_FILE:
            continue
        if os.path.isdir(path) and not os.path.islink(path):
            shutil.rmtree(path)
        else:
            os.remove(path)


LOCK_FILE = "pendrel-wine.lock"


@contextlib.contextmanager
def locked(prefix):
    """Holds the prefix's lock: one process at a time makes it ready or starts its server."""
    os.makedirs(prefix, exist_ok=True)
    with open(os.path.join(prefix, LOCK_FILE), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        yield


def server_pid(prefix):
    """The process id of the server started here for PREFIX, while it runs."""
    try:
        with open(os.path.join(prefix, SERVER_PID_FILE)) as pid_file:
            pid = int(pid_file.read())
        with open("/proc/%d/cmdline" % pid, "rb") as cmdline:
            return pid if b"wineserver" in cmdline.read() else None
    except (OSError, ValueError):
        return None


def start_server(values, linger=SERVER_LINGER, command=WINE, server="wineserver"):
    """A server that stays LINGER seconds after the last program (None: until
    stopped), and the prefix's services, all without a terminal."""
    prefix = values["WINEPREFIX"]
    persistent = "-p" if linger is None else "-p%d" % linger
    started = subprocess.Popen([server, "--foreground", persistent], env=values, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    with open(os.path.join(prefix, SERVER_PID_FILE), "w") as pid_file:
        pid_file.write("%d\n" % started.pid)
    quietly([*command, "cmd.exe", "/c", "exit"], values)


def stop_server(values, server="wineserver"):
    """Stops the prefix's server, whoever started it, and every program in it."""
    quietly([server, "-k"], values)
    quietly([server, "-w"], values)
    with contextlib.suppress(FileNotFoundError):
        os.remove(os.path.join(values["WINEPREFIX"], SERVER_PID_FILE))


def x86_route_for(purpose):
    """The machine's x86 route as PURPOSE may take it: only the tests take the
    emulated one."""
    return x86_route.decide(emulation=purpose == "tests")


def system_folder(arch, purpose="tests"):
    """Where the system programs (regsvr32, cscript, reg) of ARCH are for
    PURPOSE: for x86 syswow64 of the 64-bit prefix, but system32 of the 32-bit
    prefix of the emulated route."""
    if arch == "x86" and x86_route_for(purpose).kind == x86_route.EMULATED:
        return SYSTEM_FOLDERS["x64"]
    return SYSTEM_FOLDERS[arch]


def program_command(arch="x64", purpose="tools"):
    """The command that starts a Windows program of ARCH for PURPOSE."""
    if arch == "x86" and x86_route_for(purpose).kind == x86_route.EMULATED:
        from buildtools import emulated_wine
        return emulated_wine.COMMAND
    return WINE


def start(arch="x64", purpose="tools"):
    """Makes the prefix for PURPOSE ready for ARCH's programs and starts its
    server; returns the environment to run them with. On a machine that
    cannot run x86, asking for x86 raises CannotRunX86 before anything is
    made or fetched."""
    if arch == "x86":
        route = x86_route_for(purpose)
        if not route.runs_x86:
            raise CannotRunX86(route.reason)
        if route.kind == x86_route.EMULATED:
            from buildtools import emulated_wine
            return emulated_wine.start()
        fetch_x86_dlls()
    values = environment(purpose=purpose)
    prefix = values["WINEPREFIX"]
    with locked(prefix):
        if server_pid(prefix) and is_ready(prefix, arch):
            return values
        # A server started by a program (it ends with that program, and the
        # services it starts take that program's output) gives way to ours.
        stop_server(values)
        make_ready(values, arch)
        start_server(values)
    return values


def stop(purpose="tools"):
    values = environment(purpose=purpose)
    with locked(values["WINEPREFIX"]):
        stop_server(values)


class ScratchPrefix:
    """A prefix of its own for one job, made fresh and removed again, with its
    own server for its lifetime; only that server is stopped at the end.
    Registering the module to read its registration back, and installing the
    packages to test them, both need a prefix in which nothing of the module
    is registered yet. It runs x86 programs (in Wine's WoW64 mode) where the
    machine runs 32-bit code; runs_x86 tells, and x86_reason why not."""

    def __init__(self, path):
        self.path = os.path.abspath(path)
        self.environment = environment(prefix=self.path)
        route = x86_route_for("tools")
        self.runs_x86, self.x86_reason = route.runs_x86, route.reason

    def __enter__(self):
        if self.runs_x86:
            fetch_x86_dlls()
        shutil.rmtree(self.path, ignore_errors=True)
        make_ready(self.environment, "x86" if self.runs_x86 else "x64")
        start_server(self.environment, linger=None)
        return self

    def __exit__(self, *_):
        stop_server(self.environment)
        shutil.rmtree(self.path, ignore_errors=True)

    def wine(self, *arguments, **variables):
        """Runs a Windows program in the prefix, with VARIABLES added to its
        environment; returns its CompletedProcess."""
        return capture([*WINE, *arguments], dict(self.environment, **variables))

    def program(self, arch, name):
        """The Windows path of one of the prefix's programs for ARCH."""
        return "%s/%s" % (SYSTEM_FOLDERS[arch], name)

    def windows_file(self, windows_path_in_prefix):
        """The path of this machine of a C: path inside the prefix."""
        return windows_file(self.path, windows_path_in_prefix)


def main():
    parser = argparse.ArgumentParser(prog="python3 -m buildtools.wine",
                                     description="Wine for this project: the prefixes, their server, the environment.")
    commands = parser.add_subparsers(dest="command", required=True)
    for name, text in (("start", "make the prefix ready for ARCH and start its server"),
                       ("run", "the same, then run PROGRAM in the prefix"),
                       ("stop", "stop the prefix's server and every program in it"),
                       ("emulator-lines", "the sh lines of the build's wine-run for ARCH")):
        command = commands.add_parser(name, help=text)
        if name != "emulator-lines":
            command.add_argument("--tests", dest="purpose", action="store_const", const="tests", default="tools",
                                 help="the tests' prefix instead of the tools'")
        if name != "stop":
            command.add_argument("--arch", choices=SYSTEM_FOLDERS, default="x64")
        if name == "run":
            command.add_argument("program")
            command.add_argument("arguments", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    try:
        if options.command == "emulator-lines":
            print(emulator_lines(options.arch))
        elif options.command == "stop":
            stop(options.purpose)
        else:
            values = start(options.arch, options.purpose)
            if options.command == "run":
                command = program_command(options.arch, options.purpose)
                os.execvpe(command[0], [*command, options.program, *options.arguments], values)
    except CannotRunX86 as error:
        print(error, file=sys.stderr)
        return x86_route.CANNOT_RUN_X86
    except WineError as error:
        print("wine: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
