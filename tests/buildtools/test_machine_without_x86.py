#!/usr/bin/env python3
"""A machine that runs no 32-bit code, as PENDREL_NO_X86=1 makes of any
machine: what is decided once and handed down, what stops at once and how,
and the verdict the test run gives."""
import os
import subprocess
import sys
import tempfile
import unittest

from buildtools import run_tests, wine, x86_route

ROOT = wine.ROOT

WITHOUT_X86 = {name: value for name, value in os.environ.items() if name != x86_route.DECISION}
WITHOUT_X86[x86_route.NO_X86] = "1"


def run(command, **environment):
    return subprocess.run(command, cwd=ROOT, env=dict(WITHOUT_X86, **environment), stdin=subprocess.DEVNULL,
                          capture_output=True, text=True)


class Decision(unittest.TestCase):
    def test_the_switch_gives_no_route_and_the_answer_is_handed_down(self):
        answer = run([sys.executable, "-m", x86_route.__name__, "decide", "--emulation"]).stdout.strip()
        route = x86_route.Route.decoded(answer)
        self.assertEqual((route.kind, route.reason), (x86_route.NONE, x86_route.SWITCHED_OFF))
        self.assertIn("32-bit", route.reason)
        handed_down = run([sys.executable, "-m", x86_route.__name__, "decide"], PENDREL_NO_X86="",
                          PENDREL_X86_ROUTE=answer)
        self.assertEqual(handed_down.stdout.strip(), answer, "a command's children must not probe again")


class CommandsThatNeedX86(unittest.TestCase):
    """Each stops before building or registering anything, with the probe's
    line and its own exit code."""

    CASES = [["import", "samples/orvale-statement-date-first.csv", "--arch", "x86"],
             ["register", "--arch", "both"], ["unregister", "--arch", "x86"],
             ["test", "--require-x86", "-R", "NoSuchTest"], ["bench", "--require-x86"],
             ["package", "--require-x86"]]

    def test_each_stops_with_the_probes_line(self):
        for arguments in self.CASES:
            with self.subTest(arguments=arguments):
                result = run([os.path.join(ROOT, "dev"), *arguments])
                self.assertEqual(result.returncode, x86_route.CANNOT_RUN_X86)
                self.assertEqual(result.stderr.strip(), x86_route.SWITCHED_OFF)

    def test_the_x86_wine_run_says_why_it_runs_nothing(self):
        with tempfile.NamedTemporaryFile("w", suffix=".sh") as script:
            script.write(wine.emulator_lines("x86"))
            script.flush()
            result = run(["sh", script.name, "program.exe"], PENDREL_X86_ROUTE="none:the reason")
        self.assertEqual((result.returncode, result.stderr), (x86_route.CANNOT_RUN_X86, "the reason\n"))


class Verdict(unittest.TestCase):
    def test_counts_and_failures(self):
        verdict = run_tests.Verdict()
        verdict.counted("x64", "100% tests passed, 0 tests failed out of 226\n", True)
        verdict.counted("native", "95% tests passed, 2 tests failed out of 40\n", False)
        verdict.counted("packages", "packaging: 90 passed, 0 failed\n", True, "a note", unit="checks")
        verdict.counted("x86", "", False)
        verdict.said("x86", "not run: why")
        self.assertEqual(verdict.lines, ["x64: 226 of 226 tests passed", "native: 38 of 40 tests passed",
                                         "packages: 90 of 90 checks passed (a note)",
                                         "x86: did not run to the end", "x86: not run: why"])
        self.assertEqual(verdict.failures, ["native", "x86"])


if __name__ == "__main__":
    unittest.main()
