"""Debian's Chromium, headless, for the tests and the benchmark of the HTML
report: a page served from a folder on the loopback address, its DOM as
rendered (--dump-dom) or a picture of it (--screenshot), and from
Chromium's network log (--log-net-log) every address the page loaded.

Chromium runs as root here, so without its sandbox, with a new empty
profile each time. Its own background traffic (updates, sign-in, time
queries) is switched off as far as flags go, and every host name but the
loopback address resolves to nothing, so that no run reaches past this
machine whatever the page or the browser asks for.
"""
import functools
import http.server
import json
import shutil
import subprocess
import tempfile
import threading
import time

CHROMIUM = "chromium"
LOOPBACK = "127.0.0.1"
FLAGS = (
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-default-apps", "--disable-extensions", "--no-pings", "--disable-domain-reliability",
    "--disable-client-side-phishing-detection", "--disable-breakpad", "--metrics-recording-only",
    "--disable-features=NetworkTimeServiceQuerying,OptimizationHints,MediaRouter,Translate",
    "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE " + LOOPBACK,
    "--hide-scrollbars",
)


class FolderServer:
    """Serves FOLDER on the loopback address, on a port of its own, and keeps
    the path of every request it receives."""

    def __init__(self, folder):
        self.requests = []
        server = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *arguments):
                server.requests.append(self.path)

        self._httpd = http.server.ThreadingHTTPServer((LOOPBACK, 0), functools.partial(Handler, directory=folder))
        self.origin = "http://%s:%d" % (LOOPBACK, self._httpd.server_address[1])
        self._thread = threading.Thread(target=self._httpd.serve_forever, daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exception):
        self._httpd.shutdown()
        self._httpd.server_close()

    def url(self, name):
        return self.origin + "/" + name


def run(url, *, dump_dom=False, screenshot=None, net_log=None, window=(1280, 1800), timeout=300):
    """Opens URL in a fresh headless Chromium; returns what it printed (the
    DOM with DUMP_DOM) and the seconds it took."""
    profile = tempfile.mkdtemp(prefix="pendrel_chromium_")
    command = [CHROMIUM, *FLAGS, "--user-data-dir=" + profile, "--window-size=%d,%d" % window]
    if net_log:
        command.append("--log-net-log=" + net_log)
    if screenshot:
        command.append("--screenshot=" + screenshot)
    if dump_dom:
        command.append("--dump-dom")
    try:
        start = time.perf_counter()
        result = subprocess.run(command + [url], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=timeout)
        seconds = time.perf_counter() - start
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    if result.returncode != 0:
        raise RuntimeError("chromium exited %d: %s" % (result.returncode, result.stderr.decode(errors="replace")[-2000:]))
    return result.stdout.decode("utf-8", errors="replace"), seconds


def page_loads(net_log, origin):
    """The addresses Chromium loaded for the page of ORIGIN: every request
    of the network log in that site's own partition (the page and all it
    fetched), as against the browser's own."""
    with open(net_log, encoding="utf-8") as handle:
        log = json.load(handle)
    start_job = log["constants"]["logEventTypes"]["URL_REQUEST_START_JOB"]
    site = origin.rsplit(":", 1)[0]  # a site has no port
    loads = []
    for event in log["events"]:
        parameters = event.get("params", {})
        if event["type"] == start_job and "url" in parameters and \
                parameters.get("network_isolation_key", "").startswith(site + " "):
            loads.append(parameters["url"])
    return loads

