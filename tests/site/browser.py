#!/usr/bin/python3
"""Opens the assembled browser site in a real browser, as a first visit and
then with the server gone, and the one-file page from disk.

  tests/site/browser.py [--engine chromium|webkit] DIST_DIR
                                    (DIST_DIR is dist/ after ./scripts/web)

Served on 127.0.0.1 (scripts/web_site.py serve), the page must start the
program (document.body.dataset.ready === "1"), load every face of
fonts.css, be controlled by its service worker, whose one cache then holds
every file of the site; once the site is replaced by a new build (another
cache name in sw.js), a visit must leave the new build's cache alone; and,
with the server stopped, the program must start again on a reload. dist/orvalis.html opened from file:// must start the
program.
chromium (the default; headless, Debian's chromium and chromium-driver):
also no error on the console, no request outside the site's folder (from
disk: none but data: URLs), installable as an app (no installability
error), and the reload with the network off as well.
webkit (WebKitGTK's MiniBrowser, the engine of every iPad browser; Debian's
webkit2gtk-driver): needs an X display (xvfb-run works).
Needs python3-selenium. Exits 77 (skipped) when the browser, its driver or
the display is missing, 1 naming each fault.
"""

import json
import os
import pathlib
import shutil
import socket
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
SKIP = 77
FACES = ('400 16px "ＭＳ Ｐゴシック"', '400 16px "ＭＳ Ｐ明朝"', '400 16px "ＭＳ 明朝"', '700 16px "ＭＳ 明朝"')
MINIBROWSER = pathlib.Path("/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser")
READY = "return document.body !== null && document.body.dataset.ready === '1'"

faults = []


def fault(message):
    faults.append(message)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def missing_browser(engine):
    """Why the engine cannot run here, or None."""
    if engine == "chromium":
        if not shutil.which("chromium") or not shutil.which("chromedriver"):
            return "chromium or chromedriver is not installed"
    else:
        if not MINIBROWSER.is_file() or not shutil.which("WebKitWebDriver"):
            return "WebKitGTK's MiniBrowser or WebKitWebDriver is not installed"
        if not os.environ.get("DISPLAY"):
            return "WebKitGTK needs an X display (DISPLAY is not set; xvfb-run works)"
    return None


def start_browser(engine, profile):
    from selenium import webdriver

    if engine == "webkit":
        options = webdriver.WebKitGTKOptions()
        options.binary_location = str(MINIBROWSER)
        options.add_argument("--automation")
        return webdriver.WebKitGTK(executable_path=shutil.which("WebKitWebDriver"), options=options)
    from selenium.webdriver.chrome.service import Service

    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for argument in ("--headless=new", "--no-sandbox", f"--user-data-dir={profile}",
                     "--no-first-run", "--disable-background-networking"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
    return webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)


def wait_until(driver, script, seconds=60):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if driver.execute_script(script):
            return True
        time.sleep(0.1)
    return False


class Chromium:
    """What only Chromium's DevTools let a test see."""

    def __init__(self, driver):
        self.driver = driver

    def requested(self, document):
        """The addresses requested since the last call by documents (pages
        and workers) whose address starts with document; the browser's own
        pages are left out."""
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent" and \
                    message["params"].get("documentURL", "").startswith(document):
                urls.append(message["params"]["request"]["url"])
        return urls

    def console_errors(self, where):
        for entry in self.driver.get_log("browser"):
            if entry["level"] == "SEVERE":
                fault(f"{where}: console error: {entry['message']}")

    def installability_errors(self):
        self.driver.execute_cdp_cmd("Page.enable", {})
        return self.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}).get("installabilityErrors", [])

    def network(self, online):
        self.driver.execute_cdp_cmd("Network.enable", {})
        self.driver.execute_cdp_cmd("Network.emulateNetworkConditions",
                                    {"offline": not online, "latency": 0,
                                     "downloadThroughput": -1, "uploadThroughput": -1})


CACHES = ("const done = arguments[arguments.length - 1];"
          "caches.keys().then((names) => Promise.all(names.map((n) => caches.open(n)"
          ".then((c) => c.keys()).then((r) => [n, r.map((q) => q.url)])))).then(done);")


def visit_site(driver, engine, dist_site, port, folder):
    from selenium.common.exceptions import WebDriverException

    # A copy, which the update below may change.
    site = pathlib.Path(folder) / "web"
    shutil.copytree(dist_site, site)
    chromium = Chromium(driver) if engine == "chromium" else None
    base = f"http://127.0.0.1:{port}/"
    where = f"site ({engine})"
    server = subprocess.Popen([sys.executable, str(ROOT / "scripts" / "web_site.py"), "serve", str(site), str(port)],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        server.stdout.readline()  # serving
        if chromium:
            chromium.requested(base)
        driver.get(base)
        if not wait_until(driver, READY):
            fault(f"{where}: the program did not start on the first visit")
        loaded = driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "Promise.all(arguments[0].map((f) => document.fonts.load(f).then((faces) => faces.length)))"
            ".then(done, (e) => done(String(e)));", list(FACES))
        if not isinstance(loaded, list) or 0 in loaded:
            fault(f"{where}: the faces of fonts.css did not all load "
                  f"({dict(zip(FACES, loaded)) if isinstance(loaded, list) else loaded})")
        if not wait_until(driver, "return navigator.serviceWorker.controller !== null", 30):
            fault(f"{where}: no service worker controls the page")
        kept = driver.execute_async_script(CACHES)
        files = {p.relative_to(site).as_posix() for p in site.rglob("*") if p.is_file()} - {"sw.js"}
        if len(kept) != 1:
            fault(f"{where}: {len(kept)} caches after the first visit, not one")
        else:
            missing = {base + f for f in files} - set(kept[0][1])
            if missing:
                fault(f"{where}: the cache {kept[0][0]} lacks {sorted(missing)}")
        if chromium:
            errors = chromium.installability_errors()
            if errors:
                fault(f"{where}: not installable as an app: {errors}")
            for url in chromium.requested(base):
                if url.startswith(("http:", "https:", "ws:", "wss:", "ftp:")) and not url.startswith(base):
                    fault(f"{where}: requested {url}, outside its folder")
            chromium.console_errors(where)

        # A new build: the worker installs it and deletes the old cache.
        worker = site / "sw.js"
        old = kept[0][0] if len(kept) == 1 else ""
        new = old + "-next"
        worker.write_text(worker.read_text(encoding="utf-8").replace(f'"{old}"', f'"{new}"'), encoding="utf-8")
        driver.get(base)
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            kept = driver.execute_async_script(CACHES)
            if [name for name, _ in kept] == [new]:
                break
            time.sleep(0.2)
        else:
            fault(f"{where}: after an update the caches are {[name for name, _ in kept]}, not [{new}]")
    finally:
        server.terminate()
        server.wait()

    # No server (and in Chromium no network): all from the worker's cache.
    if chromium:
        chromium.network(online=False)
    try:
        driver.get(base)
        if not wait_until(driver, READY):
            fault(f"{where}: the program did not start again with the server gone")
        if chromium:
            chromium.console_errors(f"{where}, offline")
    except WebDriverException as error:
        fault(f"{where}: with the server gone, the page did not load: {error.msg}")
    if chromium:
        chromium.network(online=True)


def visit_single(driver, engine, page):
    chromium = Chromium(driver) if engine == "chromium" else None
    url = page.resolve().as_uri()
    where = f"{page.name} ({engine})"
    if chromium:
        chromium.requested(url)
    driver.get(url)
    if not wait_until(driver, READY):
        fault(f"{where}: the program did not start from disk")
    if chromium:
        for other in chromium.requested(url):
            if other != url and not other.startswith("data:"):
                fault(f"{where}: requested {other}")
        chromium.console_errors(where)


def main(argv):
    engine = "chromium"
    if len(argv) == 3 and argv[0] == "--engine" and argv[1] in ("chromium", "webkit"):
        engine, argv = argv[1], argv[2:]
    if len(argv) != 1:
        print("usage: browser.py [--engine chromium|webkit] DIST_DIR", file=sys.stderr)
        return 2
    dist = pathlib.Path(argv[0])
    try:
        import selenium  # noqa: F401
    except ImportError:
        print("browser: skipped, python3-selenium is not installed", file=sys.stderr)
        return SKIP
    why = missing_browser(engine)
    if why:
        print(f"browser: skipped, {why}", file=sys.stderr)
        return SKIP
    # A new browser for each: the one-file page must not profit from the
    # site's visit.
    for visit in (lambda d, folder: visit_site(d, engine, dist / "web", free_port(), folder),
                  lambda d, folder: visit_single(d, engine, dist / "orvalis.html")):
        with tempfile.TemporaryDirectory() as folder:
            driver = start_browser(engine, pathlib.Path(folder) / "profile")
            try:
                visit(driver, folder)
            finally:
                driver.quit()
    for message in faults:
        print(f"browser: {message}", file=sys.stderr)
    if faults:
        return 1
    print(f"browser: {dist} passed in {engine} (served, with the server gone, and from disk)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
