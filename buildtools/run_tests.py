#!/usr/bin/env python3
"""Every test of the project, stage by stage, with one verdict at the end.
Run as python3 -m buildtools.run_tests.

usage: run_tests.py [--require-x86] [CTEST ARGUMENTS...]   everything (./dev test)
       run_tests.py --package                              the package tests alone (./dev package-test)

The stages, each run whatever the one before showed:
1. the native builds of tests/native (its presets): the statement suites and
   short fuzz runs under AddressSanitizer and UndefinedBehaviorSanitizer, and
   the readers on several threads under ThreadSanitizer;
2. every test of x64 under Wine, in the tests' prefix; where the machine runs
   32-bit code the prefix is made ready for both architectures first (the
   x64 project's RegistryViews test drives the x86 build as well), and a
   prefix that cannot be made ready for x86 is made ready for x64 alone, so
   that x64 never waits on x86;
3. every test of x86: in the same prefix (Wine's WoW64 mode), or on a machine
   that runs no 32-bit code through the emulated route (emulated_wine.py);
   where neither can run, what can be checked of x86 without running it
   (check_module_dll.py: its exports and resources; the package tests check
   its release binaries and its MSI);
4. without CTEST ARGUMENTS, the package tests: the release builds, the test
   programs the package tests run against the packaged binaries, and
   tests/packaging/run_package_tests.py.
CTEST ARGUMENTS (for example -R PATTERN) go to every CTest run. A test that
fails is not run again: it fails the run. The last lines name, stage by
stage, how many tests ran and passed, and for x86 how it ran or why it did
not and what was checked instead. The run passes when everything that could
run passed; with --require-x86 it fails at once on a machine that cannot
run x86.
"""
import os
import re
import subprocess
import sys
import tempfile

from buildtools import module_identity, presets, wine, x86_route
from buildtools.messages import say

ROOT = wine.ROOT
NATIVE = os.path.join(ROOT, "tests", "native")
NATIVE_BUILDS = (("native", "ASan + UBSan"), ("native-thread", "ThreadSanitizer"))
JOBS = str(os.cpu_count() or 2)
CHECK_MODULE_DLL = "tests.module.check_module_dll"
X86_OBJDUMP = "i686-w64-mingw32-objdump"
EMULATED = "emulated: Debian's 32-bit Wine under qemu-i386, as %s"
CHECKED_INSTEAD = ("checked instead: the x86 debug build (and without CTEST ARGUMENTS the release build, its MSI "
                   "with the registration worked out from the x64 DLL's, the PE flags, imports and signatures of "
                   "its files); the debug DLL's exports, registry scripts, type library and version")


class Verdict:
    """What each stage showed, said in the run's last lines."""

    def __init__(self):
        self.lines = []
        self.failures = []

    def counted(self, label, output, passed_ok, note="", unit="tests"):
        """A CTest run's or the package tests' counts, from OUTPUT."""
        counts = (re.findall(r"tests passed, (\d+) tests? failed out of (\d+)", output) or
                  [(failed, str(int(passed) + int(failed)))
                   for passed, failed in re.findall(r"packaging: (\d+) passed, (\d+) failed", output)])
        if counts:
            failed, total = (int(number) for number in counts[-1])
            text = "%d of %d %s passed" % (total - failed, total, unit)
        else:
            text = "no test matches" if passed_ok else "did not run to the end"
        self.lines.append("%s: %s%s" % (label, text, " (%s)" % note if note else ""))
        if not passed_ok:
            self.failures.append(label)

    def said(self, label, text):
        self.lines.append("%s: %s" % (label, text))

    def failed(self, what):
        self.failures.append(what)

    def report(self):
        for line in self.lines:
            say(line)
        if self.failures:
            say("FAILED: %s (see above)" % "; ".join(self.failures))
            return 1
        say("every test that could run passed")
        return 0


def quietly(command, cwd=ROOT):
    """Runs COMMAND, showing its output only when it fails; whether it passed."""
    with tempfile.TemporaryFile() as log:
        if subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=log, stderr=log).returncode == 0:
            return True
        log.seek(0)
        sys.stderr.write(log.read().decode(errors="replace"))
        return False


def shown(command, cwd=ROOT, environment=None):
    """Runs COMMAND with its output shown as it comes; whether it passed, and the output."""
    process = subprocess.Popen(command, cwd=cwd, env=environment, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True, errors="replace")
    output = []
    for line in process.stdout:
        sys.stdout.write(line)
        sys.stdout.flush()
        output.append(line)
    return process.wait() == 0, "".join(output)


def native_stage(arguments, verdict):
    for preset, label in NATIVE_BUILDS:
        say("building the native %s build" % label)
        if not (quietly(["cmake", "--preset", preset], NATIVE) and
                quietly(["cmake", "--build", "--preset", preset], NATIVE)):
            verdict.failed("the native %s build" % label)
            continue
        say("running the native %s tests" % label)
        run = subprocess.run(["ctest", "--preset", preset, "-j", JOBS, *arguments], cwd=NATIVE,
                             stdin=subprocess.DEVNULL, capture_output=True, text=True)
        if run.returncode != 0:
            sys.stderr.write(run.stdout + run.stderr)
        verdict.counted("native (%s)" % label, run.stdout, run.returncode == 0)


def started(arch, verdict):
    """Whether the tests' Wine for ARCH could be made ready (a failure is said)."""
    try:
        wine.start(arch, "tests")
        return True
    except wine.WineError as error:
        print("wine: %s" % error, file=sys.stderr)
        verdict.failed("the Wine prefix for the %s tests" % arch)
        return False


def ctest(arch, arguments, verdict, note=""):
    say("running the %s tests%s" % (arch, " (%s)" % note if note else ""))
    passed, output = shown(["ctest", "--preset", arch, "-j", JOBS, *arguments])
    verdict.counted(arch, output, passed, note)


def x64_stage(arguments, route, verdict):
    """The x64 tests, in a prefix made ready for x86 too where WoW64 runs it;
    whether that succeeded."""
    x86_ready = route.kind == x86_route.WOW64 and started("x86", verdict)
    if x86_ready or started("x64", verdict):
        ctest("x64", arguments, verdict)
    return x86_ready


def x86_stage(arguments, route, x86_ready, verdict):
    if route.kind == x86_route.WOW64:
        if x86_ready:
            ctest("x86", arguments, verdict)
        else:
            verdict.said("x86", "not run: its Wine prefix could not be made ready (above)")
    elif route.kind == x86_route.EMULATED:
        if started("x86", verdict):
            ctest("x86", arguments, verdict, EMULATED % route.reason)
    else:
        say("x86 cannot run here: %s" % route.reason)
        checked = subprocess.run([sys.executable, "-m", CHECK_MODULE_DLL, X86_OBJDUMP,
                                  module_identity.dll(os.path.join(wine.BUILD, "x86")), "win32"],
                                 stdin=subprocess.DEVNULL, capture_output=True, text=True)
        sys.stdout.write(checked.stdout)
        if checked.returncode != 0:
            verdict.failed("the static checks of the x86 DLL")
        verdict.said("x86", "not run: %s; %s" % (route.reason, CHECKED_INSTEAD))


def package_stage(verdict):
    for arch in ("x64", "x86"):
        say("building release %s" % arch)
        if not quietly(["cmake", "--workflow", "--preset", "release-" + arch]):
            verdict.failed("the release %s build" % arch)
            return
    say("building the package tests' programs")
    for build_preset in ("x64-package-tests", "x86-package-tests"):
        if not (quietly(["cmake", "--preset", presets.configure_preset(build_preset)]) and
                quietly(["cmake", "--build", "--preset", build_preset])):
            verdict.failed("building the package tests' programs")
            return
    say("running the package tests")
    passed, output = shown([sys.executable, "-m", "tests.packaging.run_package_tests", ROOT, wine.BUILD])
    route = wine.x86_route_for("tools")
    note = "" if route.runs_x86 else "x86 checked without running it: " + route.reason
    verdict.counted("packages", output, passed, note, unit="checks")


def main(arguments):
    verdict = Verdict()
    require_x86 = "--require-x86" in arguments
    arguments = [argument for argument in arguments if argument != "--require-x86"]
    route = x86_route.decide(emulation=arguments != ["--package"])
    if require_x86 and not route.runs_x86:
        print(route.reason, file=sys.stderr)
        return x86_route.CANNOT_RUN_X86
    if arguments == ["--package"]:
        package_stage(verdict)
        return verdict.report()
    native_stage(arguments, verdict)
    x86_ready = x64_stage(arguments, route, verdict)
    x86_stage(arguments, route, x86_ready, verdict)
    if not arguments:
        package_stage(verdict)
    return verdict.report()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
