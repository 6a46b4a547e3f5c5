"""Collects the checks of the package tests and what failed."""


class Results:
    def __init__(self):
        self.passed = 0
        self.failures = []

    def expect(self, what, actual, expected):
        if actual == expected:
            self.passed += 1
        else:
            self.failures.append("%s: %r, expected %r" % (what, actual, expected))

    def report(self):
        for failure in self.failures:
            print("FAILED " + failure)
        print("packaging: %d passed, %d failed" % (self.passed, len(self.failures)))
        return 1 if self.failures else 0
