"""Signing the package: every signature verifies, and bad signing input stops early.

With a throwaway authority's code-signing certificate, both DLLs, both
preview tools and both MSIs carry a signature that osslsigncode verifies
against that authority. A missing certificate file, a wrong password and a
certificate without its private key each stop the package with one line on
standard error and leave no package folder (nor a half-made one) behind.
"""
import glob
import os
import shutil
import subprocess

from buildtools import module_identity


def signed_files(name):
    """The files of the package that carry a signature, NAME being the module's."""
    return ["x64/%s.dll" % name, "x86/%s.dll" % name, "x64/pendrel-import.exe", "x86/pendrel-import.exe",
            "%s-*-x64.msi" % name, "%s-*-x86.msi" % name]


def make_package(root, build, dist, certificate, password):
    environment = dict(os.environ, PENDREL_SIGNING_PASSWORD=password)
    return subprocess.run([os.path.join(root, "packaging", "make-package.sh"), root, build, dist,
                           "--sign", certificate], capture_output=True, text=True, env=environment)


def check_bad_input(results, root, build, work, certificates, password):
    _, signing, no_key = certificates
    cases = {"a missing certificate file": (os.path.join(work, "missing.pfx"), password),
             "a wrong password": (signing, password + "-wrong"),
             "a certificate without its key": (no_key, password)}
    dist = os.path.join(work, "refused-dist")
    for case, (certificate, given) in cases.items():
        shutil.rmtree(dist, ignore_errors=True)
        result = make_package(root, build, dist, certificate, given)
        results.expect("package with %s: exit code" % case, result.returncode, 1)
        results.expect("package with %s: lines on standard error" % case, len(result.stderr.strip().splitlines()), 1)
        results.expect("package with %s: folders left" % case, glob.glob(dist + "*"), [])


def check_signatures(results, dist, build, ca):
    for pattern in signed_files(module_identity.packaged_name(build)):
        matches = glob.glob(os.path.join(dist, pattern))
        results.expect("one file for %s" % pattern, len(matches), 1)
        for path in matches:
            verified = subprocess.run(["osslsigncode", "verify", "-CAfile", ca, "-in", path],
                                      capture_output=True, text=True)
            results.expect("signature of %s verifies" % pattern,
                           (verified.returncode, "Succeeded" in verified.stdout), (0, True))
    with open(os.path.join(dist, "INSTALL.txt")) as text:
        results.expect("INSTALL.txt says the package is signed", "carry an Authenticode signature" in text.read(), True)
