"""Runs a Windows program under Wine and collects what it printed.

The output goes to temporary files, not pipes: a Windows program may make
Wine start its own background programs (the desktop, rpcss), which keep any
pipe they inherit open for as long as the wine server lives, so reading a
pipe to its end would wait for them.
"""
import subprocess
import tempfile


def run(arguments, environment=None):
    """Runs ARGUMENTS with ENVIRONMENT (default: this process's own)."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(arguments, stdin=subprocess.DEVNULL, stdout=out, stderr=err, env=environment).returncode
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(arguments, code, out.read().decode(errors="replace"),
                                           err.read().decode(errors="replace"))
