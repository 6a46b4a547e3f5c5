#!/usr/bin/env python3
"""The libFuzzer harnesses of tests/fuzz, run for longer than the short runs
of the tests (./dev fuzz). Each is built by the native preset of tests/native
(AddressSanitizer and UndefinedBehaviorSanitizer), with the sanitizer options
of that preset's tests. Run as python3 -m buildtools.fuzz.

usage: fuzz.py [SECONDS]   each harness for SECONDS (default 60) over
                           build/fuzz/NAME, which starts as a copy of
                           tests/fuzz/corpus/NAME and keeps what the runs add,
                           with the dictionary tests/fuzz/NAME.dict; crashing
                           inputs are written as build/fuzz/NAME-crash-*
       fuzz.py --merge     adds to each tests/fuzz/corpus/NAME the inputs of
                           build/fuzz/NAME that reach coverage edges the
                           committed corpus does not, with libFuzzer's -merge=1
                           (smallest first, each kept only when it adds an
                           edge; hit counts are left out, which keeps the set to
                           what is needed to reach every edge). New inputs are
                           named by the SHA-1 of their contents; the committed
                           ones stay as they are
       fuzz.py --coverage  runs each harness once over its committed corpus in
                           the coverage build and prints the line and branch
                           coverage of the code under test
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys

from buildtools.messages import say

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
NATIVE = os.path.join(ROOT, "tests", "native")
FUZZ = os.path.join(ROOT, "tests", "fuzz")
BUILD_NATIVE = os.path.join(ROOT, "build", "native")
WORK = os.path.join(ROOT, "build", "fuzz")
LIMITS = ["-timeout=10", "-rss_limit_mb=2048"]


def harnesses():
    return sorted(os.path.splitext(os.path.basename(source))[0] for source in glob.glob(os.path.join(FUZZ, "*.cpp")))


# Fuzzing records no allocation stacks: taking one on every allocation cost
# line_fields an eighth to a quarter of its executions here. A finding is an
# input in build/fuzz; the harness run on it alone (build/native/fuzz_NAME
# INPUT) reports it with the stacks.
FUZZING_ADDRESS_OPTIONS = ":malloc_context_size=0"


def sanitizer_environment():
    """This process's environment with the sanitizer options of the native tests' preset."""
    with open(os.path.join(NATIVE, "CMakePresets.json")) as presets:
        native = next(preset for preset in json.load(presets)["testPresets"] if preset["name"] == "native")
    return dict(os.environ, **native["environment"])


def fuzzing_environment():
    environment = sanitizer_environment()
    environment["ASAN_OPTIONS"] += FUZZING_ADDRESS_OPTIONS
    return environment


def build(preset="native", output=subprocess.DEVNULL):
    """Configures the native build and builds PRESET, its output to OUTPUT."""
    for command in (["cmake", "--preset", "native"], ["cmake", "--build", "--preset", preset]):
        if subprocess.run(command, cwd=NATIVE, stdin=subprocess.DEVNULL, stdout=output).returncode != 0:
            sys.exit(1)


def tail(path, lines=40):
    with open(path, errors="replace") as log:
        sys.stderr.write("".join(log.readlines()[-lines:]))


def run(seconds):
    say("building the native sanitizer build (clang, ASan + UBSan)")
    build()
    environment = fuzzing_environment()
    failed = []
    for name in harnesses():
        work = os.path.join(WORK, name)
        log_path = os.path.join(WORK, name + ".log")
        shutil.copytree(os.path.join(FUZZ, "corpus", name), work, dirs_exist_ok=True)
        say("fuzzing %s for %ds" % (name, seconds))
        command = [os.path.join(BUILD_NATIVE, "fuzz_" + name), "-max_total_time=%d" % seconds, *LIMITS,
                   "-dict=" + os.path.join(FUZZ, name + ".dict"), "-print_final_stats=1",
                   "-artifact_prefix=%s-" % os.path.join(WORK, name), work]
        with open(log_path, "w") as log:
            passed = subprocess.run(command, env=environment, stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=log).returncode == 0
        if not passed:
            tail(log_path)
            failed.append(name)
            continue
        with open(log_path, errors="replace") as log:
            text = log.read()
        runs = re.search(r"^stat::number_of_executed_units: *(\d+)", text, re.M)
        edges = re.search(r"^#\d+\s+DONE\s+cov: (\d+)", text, re.M)
        rate = "%d a second" % (int(runs.group(1)) / seconds) if runs else "?"
        say("%s: %s executions in %ds (%s), %s coverage edges, corpus %d files, no finding"
            % (name, runs.group(1) if runs else "?", seconds, rate, edges.group(1) if edges else "?",
               len(os.listdir(work))))
    if failed:
        say("FAILED: %s (logs and crashing inputs in %s)" % (" ".join(failed), WORK))
        return 1
    say("every harness ran %ds without a finding" % seconds)
    return 0


def merge():
    say("building the native sanitizer build (clang, ASan + UBSan)")
    build()
    environment = fuzzing_environment()
    failed = []
    for name in harnesses():
        corpus = os.path.join(FUZZ, "corpus", name)
        work = os.path.join(WORK, name)
        log_path = os.path.join(WORK, name + "-merge.log")
        if not os.path.isdir(work):
            say("%s: nothing to merge (no %s)" % (name, work))
            continue
        before = len(os.listdir(corpus))
        command = [os.path.join(BUILD_NATIVE, "fuzz_" + name), "-merge=1", "-use_counters=0", *LIMITS, corpus, work]
        with open(log_path, "w") as log:
            if subprocess.run(command, env=environment, stdin=subprocess.DEVNULL, stdout=log, stderr=log).returncode:
                tail(log_path)
                failed.append(name)
                continue
        say("%s: tests/fuzz/corpus/%s went from %d to %d files" % (name, name, before, len(os.listdir(corpus))))
    if failed:
        say("FAILED: merging %s (logs in %s)" % (" ".join(failed), WORK))
        return 1
    return 0


def coverage():
    say("building the coverage build of the harnesses (clang, source-based coverage)")
    build("native-coverage", output=None)
    return 0


def main(arguments):
    if arguments in (["--merge"], ["--coverage"]):
        return merge() if arguments == ["--merge"] else coverage()
    if len(arguments) > 1 or (arguments and not re.fullmatch(r"[1-9]\d*", arguments[0])):
        print("fuzz: give SECONDS, a whole number above 0, or --merge, or --coverage alone (not '%s')"
              % " ".join(arguments), file=sys.stderr)
        return 2
    os.makedirs(WORK, exist_ok=True)
    return run(int(arguments[0]) if arguments else 60)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
