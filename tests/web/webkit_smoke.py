#!/usr/bin/python3
"""The site in WebKit (the engine of every iPad browser): WebKitGTK's
MiniBrowser driven through WebKitWebDriver on an Xvfb display of its own.
The menu appears, an activity opens, and a click on its confirmed plane
draws P and the segments there.

    webkit_smoke.py DIST        (DIST/web is the site that scripts/web built)
"""

import functools
import http.server
import os
import re
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.support.ui import WebDriverWait

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
DRIVER = "/usr/bin/WebKitWebDriver"
DISPLAYS = range(81, 90)
SITE = os.path.join(sys.argv[1] if len(sys.argv) > 1 else "dist", "web")


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".js": "text/javascript", ".webmanifest": "application/manifest+json"}

    def log_message(self, *args):
        pass


def start_xvfb():
    """An Xvfb server on the first free display of our range."""
    for n in DISPLAYS:
        if os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
            continue
        proc = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stderr=subprocess.DEVNULL)
        for _ in range(50):
            if os.path.exists(f"/tmp/.X11-unix/X{n}"):
                return proc, f":{n}"
            if proc.poll() is not None:
                break
            time.sleep(0.1)
        proc.kill()
        proc.wait()
    raise RuntimeError("no free X display in :81-:89")


class WebKitSmoke(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.path.isfile(os.path.join(SITE, "index.html")):
            raise RuntimeError(f"no site in {SITE}: build it with scripts/web first")
        cls.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Handler, directory=SITE))
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.xvfb, display = start_xvfb()
        os.environ["DISPLAY"] = display
        # A profile of its own, not the user's.
        cls.home = tempfile.TemporaryDirectory(prefix="orvalis-webkit-")
        os.environ["XDG_DATA_HOME"] = os.path.join(cls.home.name, "data")
        os.environ["XDG_CACHE_HOME"] = os.path.join(cls.home.name, "cache")
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        cls.driver = webdriver.WebKitGTK(executable_path=DRIVER, options=options)
        # Room for the design at one CSS pixel per design pixel.
        cls.driver.set_window_size(1200, 1000)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()
        cls.server.server_close()
        cls.xvfb.terminate()
        cls.xvfb.wait()
        cls.home.cleanup()

    def press(self, caption):
        button = self.driver.execute_script(
            "return [...document.querySelectorAll("
            "'section.tk-form.tk-active:not([hidden]) button.tk-button, "
            "section.tk-form.tk-active:not([hidden]) button.tk-speed')]"
            ".find((b) => b.textContent === arguments[0])", caption)
        self.assertIsNotNone(button, caption)
        ActionChains(self.driver).move_to_element(button).click().perform()

    def plane_colours(self):
        """How many pixels of the active plane have each colour we look for."""
        return self.driver.execute_script("""
            const c = document.querySelector('section.tk-form.tk-active:not([hidden]) canvas.tk-paintbox');
            const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
            const n = { aqua: 0, lime: 0, yellow: 0 };
            for (let i = 0; i < d.length; i += 4) {
              const rgb = (d[i] << 16) | (d[i + 1] << 8) | d[i + 2];
              if (rgb === 0x00ffff) n.aqua++;
              if (rgb === 0x00ff00) n.lime++;
              if (rgb === 0xffff00) n.yellow++;
            }
            return n;""")

    def test_menu_activity_and_a_click_on_the_plane(self):
        d = self.driver
        d.get(f"http://127.0.0.1:{self.server.server_address[1]}/")
        WebDriverWait(d, 60).until(lambda d: d.execute_script("return document.body.dataset.ready") == "1")
        self.assertTrue(d.execute_script("return typeof WebAssembly === 'object'"))
        self.assertGreaterEqual(d.execute_script("return Math.min(innerWidth / 1024, innerHeight / 768)"), 1)
        shown = d.execute_script("return [...document.querySelectorAll('section.tk-form:not([hidden])')]"
                                 ".map((f) => f.getAttribute('aria-label'))")
        self.assertEqual(shown, ["Orvalis"])
        self.press("定点と定直線との距離の比")
        WebDriverWait(d, 10).until(lambda d: d.title == "Orvalis（準線と焦点）")
        for key in "Ｘ＝ ２ X座標 ５ Y座標 ０ ＰＦ １ ＰＨ １ 決定".split():
            self.press(key)
        self.assertGreater(self.plane_colours()["aqua"], 600, "the fixed line x = 2")
        plane = d.execute_script(
            "return document.querySelector('section.tk-form.tk-active:not([hidden]) canvas.tk-paintbox')")
        rect = d.execute_script("const r = arguments[0].getBoundingClientRect(); return [r.width, r.height]", plane)
        # P near (3, 0): design pixel (429, 330), from the canvas's centre.
        # The pointer lands on a whole CSS pixel; where it landed is read
        # from the press itself, and P must be the design pixel under it, or
        # its neighbour where the device pixel there mostly belongs to it
        # (the design is scaled to the window, and design pixels' edges
        # round to device pixels).
        d.execute_script("arguments[0].addEventListener('pointerdown', (e) => {"
                         " const r = e.target.getBoundingClientRect();"
                         " window.pressedAt = [Math.floor((e.clientX - r.left) * 660 / r.width),"
                         " Math.floor((e.clientY - r.top) * 660 / r.height)]; }, true)", plane)
        dx = round((429 + 0.5) * rect[0] / 660 - rect[0] / 2)
        dy = round((330 + 0.5) * rect[1] / 660 - rect[1] / 2)
        ActionChains(d).move_to_element_with_offset(plane, dx, dy).click().perform()
        WebDriverWait(d, 10).until(lambda d: self.plane_colours()["lime"] > 0)
        self.assertGreater(self.plane_colours()["yellow"], 0, "PF and PH drawn")
        x, y = d.execute_script("return window.pressedAt")
        self.assertLessEqual(abs(x - 429) + abs(y - 330), 4, "the pointer near (3, 0)")
        readout = d.execute_script(
            "return document.querySelector('section.tk-form.tk-active .tk-readout').textContent")
        found = re.search(r"点Ｐ \((-?[0-9.]+) , (-?[0-9.]+)\)", readout)
        self.assertIsNotNone(found, readout)
        self.assertLessEqual(abs(float(found.group(1)) * 33 + 330 - x), 1.01, readout)
        self.assertLessEqual(abs(330 - float(found.group(2)) * 33 - y), 1.01, readout)


if __name__ == "__main__":
    if not os.path.isfile(os.path.join(SITE, "index.html")):
        print(f"webkit smoke: skipped, no site in {SITE} (build it with scripts/web)", file=sys.stderr)
        sys.exit(77)
    unittest.main(argv=sys.argv[:1])
