#!/usr/bin/python3
"""Opens the assembled browser site in headless Chromium, as a first visit
and then with no network, and the one-file page from disk.

  tests/site/browser.py DIST_DIR      (DIST_DIR is dist/ after ./scripts/web)

Served on 127.0.0.1 (scripts/web_site.py serve), the page must start the
program (document.body.dataset.ready === "1") with no error on the console,
request nothing outside its own folder, load every face of fonts.css from
the shipped files, be controlled by its service worker, whose cache then
holds every file of the site, and be installable as an app (no
installability error). With the server stopped and the network off, a
reload must start the program again. dist/orvalis.html opened from file://
must start the program and request nothing but itself and data: URLs.
Needs Debian's chromium, chromium-driver and python3-selenium; exits 77
(skipped) without them. Exits 1 naming each fault.
"""

import json
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

faults = []


def fault(message):
    faults.append(message)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def start_browser(profile):
    from selenium import webdriver
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


def requested(driver, document):
    """The addresses requested since the last call by documents (pages and
    workers) whose address starts with document; the browser's own pages
    are left out."""
    urls = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] == "Network.requestWillBeSent" and \
                message["params"].get("documentURL", "").startswith(document):
            urls.append(message["params"]["request"]["url"])
    return urls


def console_errors(driver, where):
    for entry in driver.get_log("browser"):
        if entry["level"] == "SEVERE":
            fault(f"{where}: console error: {entry['message']}")


READY = "return document.body && document.body.dataset.ready === '1'"


def visit_site(driver, site, port):
    base = f"http://127.0.0.1:{port}/"
    server = subprocess.Popen([sys.executable, str(ROOT / "scripts" / "web_site.py"), "serve", str(site), str(port)],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        server.stdout.readline()  # serving
        requested(driver, base)
        driver.get(base)
        if not wait_until(driver, READY):
            fault("site: the program did not start on the first visit")
        loaded = driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "Promise.all(arguments[0].map((f) => document.fonts.load(f).then((faces) => faces.length)))"
            ".then(done, (e) => done(String(e)));", list(FACES))
        if not isinstance(loaded, list) or 0 in loaded:
            fault(f"site: the faces of fonts.css did not all load ({dict(zip(FACES, loaded)) if isinstance(loaded, list) else loaded})")
        if not wait_until(driver, "return navigator.serviceWorker.controller !== null", 30):
            fault("site: no service worker controls the page")
        kept = driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "caches.keys().then((names) => Promise.all(names.map((n) => caches.open(n)"
            ".then((c) => c.keys()).then((r) => [n, r.map((q) => q.url)])))).then(done);")
        files = {p.relative_to(site).as_posix() for p in site.rglob("*") if p.is_file()} - {"sw.js"}
        if len(kept) != 1:
            fault(f"site: {len(kept)} caches after the first visit, not one")
        else:
            missing = {base + f for f in files} - set(kept[0][1])
            if missing:
                fault(f"site: the cache {kept[0][0]} lacks {sorted(missing)}")
        driver.execute_cdp_cmd("Page.enable", {})
        errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}).get("installabilityErrors", [])
        if errors:
            fault(f"site: not installable as an app: {errors}")
        for url in requested(driver, base):
            if url.startswith(("http:", "https:", "ws:", "wss:", "ftp:")) and not url.startswith(base):
                fault(f"site: requested {url}, outside its folder")
        console_errors(driver, "site")
    finally:
        server.terminate()
        server.wait()

    # No server and no network: everything from the service worker's cache.
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.emulateNetworkConditions",
                           {"offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
    from selenium.common.exceptions import WebDriverException
    try:
        driver.get(base)
        if not wait_until(driver, READY):
            fault("site: the program did not start again offline")
        console_errors(driver, "site offline")
    except WebDriverException as error:
        fault(f"site: offline, the page did not load: {error.msg}")
    driver.execute_cdp_cmd("Network.emulateNetworkConditions",
                           {"offline": False, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})


def visit_single(driver, page):
    url = page.resolve().as_uri()
    requested(driver, url)
    driver.get(url)
    if not wait_until(driver, READY):
        fault(f"{page.name}: the program did not start from disk")
    for other in requested(driver, url):
        if other != url and not other.startswith("data:"):
            fault(f"{page.name}: requested {other}")
    console_errors(driver, page.name)


def main(argv):
    if len(argv) != 1:
        print("usage: browser.py DIST_DIR", file=sys.stderr)
        return 2
    dist = pathlib.Path(argv[0])
    try:
        import selenium  # noqa: F401
    except ImportError:
        print("browser: skipped, python3-selenium is not installed", file=sys.stderr)
        return SKIP
    if not shutil.which("chromium") or not shutil.which("chromedriver"):
        print("browser: skipped, chromium or chromedriver is not installed", file=sys.stderr)
        return SKIP
    with tempfile.TemporaryDirectory() as profile:
        driver = start_browser(profile)
        try:
            visit_site(driver, dist / "web", free_port())
        finally:
            driver.quit()
    with tempfile.TemporaryDirectory() as profile:
        driver = start_browser(profile)
        try:
            visit_single(driver, dist / "orvalis.html")
        finally:
            driver.quit()
    for message in faults:
        print(f"browser: {message}", file=sys.stderr)
    if faults:
        return 1
    print(f"browser: {dist} passed in Chromium (served, offline and from disk)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
