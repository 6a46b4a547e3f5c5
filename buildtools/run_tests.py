#!/usr/bin/env python3
"""Every test of the project, stage by stage, with one verdict at the end.

usage: run_tests.py [CTEST ARGUMENTS...]   everything (./dev test)
       run_tests.py --package              the package tests alone (./dev package-test)

The stages, each run whatever the one before showed:
1. the native builds of tests/native (its presets): the statement suites and
   short fuzz runs under AddressSanitizer and UndefinedBehaviorSanitizer, and
   the readers on several threads under ThreadSanitizer;
2. every test of x64, then every test of x86, under Wine (the x64 and x86
   presets, built before), in the tests' prefix, made ready for both first:
   the x64 project's RegistryViews test drives the x86 build as well. The two
   run one after the other, as they share the prefix's registry;
3. without CTEST ARGUMENTS, the package tests: the release builds, the test
   programs the package tests run against the packaged binaries, and
   tests/packaging/run_package_tests.py.
CTEST ARGUMENTS (for example -R PATTERN) go to every CTest run. A test that
fails is not run again: it fails the run.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import wine  # noqa: E402

ROOT = os.path.dirname(HERE)
NATIVE = os.path.join(ROOT, "tests", "native")
NATIVE_BUILDS = (("native", "ASan + UBSan"), ("native-thread", "ThreadSanitizer"))
ARCHES = ("x64", "x86")
JOBS = str(os.cpu_count() or 2)


def quietly(command, cwd=ROOT):
    """Runs COMMAND, showing its output only when it fails; whether it passed."""
    with tempfile.TemporaryFile() as log:
        if subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=log, stderr=log).returncode == 0:
            return True
        log.seek(0)
        sys.stderr.write(log.read().decode(errors="replace"))
        return False


def native_stage(arguments, failures):
    for preset, label in NATIVE_BUILDS:
        wine.say("building the native %s build" % label)
        if not (quietly(["cmake", "--preset", preset], NATIVE) and
                quietly(["cmake", "--build", "--preset", preset], NATIVE)):
            failures.append("the native %s build" % label)
            continue
        wine.say("running the native %s tests" % label)
        run = subprocess.run(["ctest", "--preset", preset, "-j", JOBS, *arguments], cwd=NATIVE,
                             stdin=subprocess.DEVNULL, capture_output=True, text=True)
        if run.returncode != 0:
            sys.stderr.write(run.stdout + run.stderr)
            failures.append("the native %s tests" % label)
            continue
        summary = [line for line in run.stdout.splitlines() if "tests passed" in line]
        wine.say("native (%s): %s" % (label, summary[-1] if summary else "no test matches"))


def wine_stage(arguments, failures):
    try:
        wine.start("x86", "tests")
    except wine.WineError as error:
        print("wine: %s" % error, file=sys.stderr)
        failures.append("the Wine prefix for the tests")
        return
    for arch in ARCHES:
        wine.say("running the %s tests" % arch)
        if subprocess.run(["ctest", "--preset", arch, "-j", JOBS, *arguments], cwd=ROOT,
                          stdin=subprocess.DEVNULL).returncode != 0:
            failures.append("the %s tests" % arch)


def package_stage(failures):
    for arch in ARCHES:
        wine.say("building release %s" % arch)
        if not quietly(["cmake", "--workflow", "--preset", "release-" + arch]):
            failures.append("the release %s build" % arch)
            return
    wine.say("building the package tests' programs")
    for arch in ARCHES:
        if not (quietly(["cmake", "--preset", arch]) and
                quietly(["cmake", "--build", "--preset", arch + "-package-tests"])):
            failures.append("building the package tests' programs")
            return
    wine.say("running the package tests")
    runner = os.path.join(ROOT, "tests", "packaging", "run_package_tests.py")
    if subprocess.run([sys.executable, runner, ROOT, wine.BUILD], stdin=subprocess.DEVNULL).returncode != 0:
        failures.append("the package tests")


def main(arguments):
    failures = []
    if arguments == ["--package"]:
        package_stage(failures)
    else:
        native_stage(arguments, failures)
        wine_stage(arguments, failures)
        if not arguments:
            package_stage(failures)
    if failures:
        wine.say("FAILED: %s (see above)" % "; ".join(failures))
        return 1
    wine.say("every test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
