"""Wine for the project's scripts: running a Windows program and collecting
what it printed, and a Wine prefix of its own for one packaging job.

A scratch prefix is made fresh and removed again.

Registering the module to read its registration back, and installing the
MSI packages to test them, both need a prefix in which nothing of the module
is registered yet. The prefix gets its own wine server for its lifetime (a
program then starts in about 0.1 s instead of 3 s), and only that server is
stopped at the end. WINEDLLPATH must name the 32-bit Windows-side DLLs (./dev
sets it), so that the prefix holds the 32-bit programs in syswow64.
"""
import os
import shutil
import subprocess
import tempfile


def capture(arguments, environment=None):
    """Runs ARGUMENTS (a Windows program under wine or wine-run) with ENVIRONMENT
    (default: this process's own) and returns its CompletedProcess with its
    output as text. The output goes to temporary files, not pipes: a Windows
    program may make Wine start its own background programs (the desktop,
    rpcss), which keep any pipe they inherit open for as long as the wine
    server lives, so reading a pipe to its end would wait for them."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(arguments, stdin=subprocess.DEVNULL, stdout=out, stderr=err, env=environment).returncode
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(arguments, code, out.read().decode(errors="replace"),
                                           err.read().decode(errors="replace"))


# Where each architecture's own programs (reg, regsvr32, cscript, msiexec) live.
SYSTEM_FOLDERS = {"x64": "C:/windows/system32", "x86": "C:/windows/syswow64"}


class ScratchPrefix:
    def __init__(self, path):
        self.path = os.path.abspath(path)
        self.environment = dict(os.environ, WINEPREFIX=self.path, WINEDEBUG="-all",
                                WINEDLLOVERRIDES="mscoree,mshtml=")
        self.server = None

    def __enter__(self):
        shutil.rmtree(self.path, ignore_errors=True)
        os.makedirs(self.path)
        self.server = subprocess.Popen(["wineserver", "-p"], env=self.environment, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineboot", "-i"], env=self.environment, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        if not os.path.exists(self.windows_file(SYSTEM_FOLDERS["x86"] + "/reg.exe")):
            self.__exit__(None, None, None)
            raise RuntimeError("the scratch prefix %s has no 32-bit programs (is WINEDLLPATH set?)" % self.path)
        return self

    def __exit__(self, *_):
        subprocess.run(["wineserver", "-k"], env=self.environment, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        if self.server:
            self.server.wait()
        shutil.rmtree(self.path, ignore_errors=True)

    def wine(self, *arguments, **variables):
        """Runs a Windows program in the prefix, with VARIABLES added to its
        environment; returns its CompletedProcess."""
        return capture(["wine", *arguments], dict(self.environment, **variables))

    def program(self, arch, name):
        """The Windows path of one of the prefix's programs for ARCH."""
        return "%s/%s" % (SYSTEM_FOLDERS[arch], name)

    def windows_file(self, windows_path):
        """The Linux path of a C: path inside the prefix."""
        drive, rest = windows_path.replace("\\", "/").split(":", 1)
        assert drive.upper() == "C"
        return os.path.join(self.path, "drive_c", rest.lstrip("/"))
