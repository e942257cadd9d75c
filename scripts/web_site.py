#!/usr/bin/python3
"""Assembles the browser site from a build of the browser program, and
serves it.

  web_site.py assemble --build DIR --fonts DIR --version X.Y.Z --out DIR
  web_site.py serve DIR PORT

assemble writes DIR/web/ (the site: the page, the program, its style sheets, fonts,
icons, manifest and service worker) and DIR/orvalis.html (the same program
in one file that needs no server). --build is the browser build folder
(orvalis.js, orvalis.wasm, orvalis-single.js, toolkit.css), --fonts holds the
font subsets and their licence (scripts/web makes them with web_fonts.py).
The page, its font rules, manifest and service worker come from data/web/,
the icons from data/. serve serves DIR on 127.0.0.1:PORT, every file with
its MIME type (a browser compiles .wasm while loading it only when it is
application/wasm), until interrupted.
"""

import argparse
import base64
import functools
import hashlib
import http.server
import json
import pathlib
import re
import shutil
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
PAGE = ROOT / "data" / "web"
ICON_SIZES = (32, 48, 64, 128, 256)
FONTS = ("pgothic.woff2", "pmincho.woff2", "mincho.woff2", "mincho-bold.woff2", "OFL.txt")
PROGRAM = ("orvalis.js", "orvalis.wasm", "toolkit.css")
MIME = {".woff2": "font/woff2", ".png": "image/png", ".svg": "image/svg+xml"}


class SiteError(Exception):
    pass


def _need(path):
    if not path.is_file():
        raise SiteError(f"missing {path}")
    return path


def assemble_site(build, fonts, version, site):
    """Writes the site into the (emptied) folder site; returns its files."""
    if site.exists():
        shutil.rmtree(site)
    (site / "fonts").mkdir(parents=True)
    (site / "icons").mkdir()
    for name in ("index.html", "fonts.css", "manifest.webmanifest"):
        shutil.copyfile(_need(PAGE / name), site / name)
    for name in PROGRAM:
        shutil.copyfile(_need(build / name), site / name)
    for name in FONTS:
        shutil.copyfile(_need(fonts / name), site / "fonts" / name)
    shutil.copyfile(_need(ROOT / "data" / "org.orvalis.Orvalis.svg"), site / "icons" / "orvalis.svg")
    for size in ICON_SIZES:
        shutil.copyfile(_need(ROOT / "data" / "icons" / f"{size}x{size}" / "org.orvalis.Orvalis.png"),
                        site / "icons" / f"{size}.png")

    files = sorted(p.relative_to(site).as_posix() for p in site.rglob("*") if p.is_file())
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0" + (site / name).read_bytes() + b"\0")
    cache = f"orvalis-{version}-{digest.hexdigest()[:12]}"
    # The folder's own address is the page too: it is what the app starts at.
    worker = _need(PAGE / "sw.js").read_text(encoding="utf-8")
    worker = worker.replace("@CACHE@", cache).replace("@FILES@", json.dumps(["./"] + files))
    (site / "sw.js").write_text(worker, encoding="utf-8")
    return files + ["sw.js"], cache


def _data_url(path):
    mime = MIME.get(path.suffix)
    if mime is None:
        raise SiteError(f"no MIME type known for {path.name}")
    return f"data:{mime};base64," + base64.b64encode(path.read_bytes()).decode("ascii")


def _inline_css(text, base):
    """The style sheet with every url() it refers to as a data: URL."""
    def url(match):
        target = match.group(2)
        if target.startswith("data:"):
            return match.group(0)
        if re.match(r"^[a-z][a-z0-9+.-]*:|^/", target, re.I):
            raise SiteError(f"a style sheet refers to {target}, outside the site")
        return f'url("{_data_url(_need(base / target))}")'
    return re.sub(r"""url\(\s*(["']?)([^"')]+)\1\s*\)""", url, text)


def _inline_script(text):
    # Inside <script>, "</script" would end the element and "<!--" would
    # change how the rest is read; in a script's strings "<\/" and "<\!"
    # are the same characters.
    return text.replace("</script", "<\\/script").replace("<!--", "<\\!--")


def single_page(build, site, out):
    """Writes the one-file page from the site's page: style sheets, fonts and
    the icon inlined, the program with its wasm inside, and nothing that only
    a served site has (manifest, service worker, large icons)."""
    page = (site / "index.html").read_text(encoding="utf-8")

    page = re.sub(r"<link\b[^>]*\bdata-site-only\b[^>]*>\n?", "", page)
    page = re.sub(r"<script\b[^>]*\bdata-site-only\b[^>]*>.*?</script>\n?", "", page, flags=re.S)

    def stylesheet(match):
        css = _inline_css((site / match.group(1)).read_text(encoding="utf-8"), site)
        return "<style>\n" + css.replace("</style", "<\\/style") + "\n</style>"
    page = re.sub(r'<link rel="stylesheet" href="([^"]+)">', stylesheet, page)

    def icon(match):
        return match.group(1) + _data_url(_need(site / match.group(2))) + '"'
    page = re.sub(r'(<link rel="icon"[^>]*? href=")([^"]+)"', icon, page)

    def script(match):
        if match.group(1) != "orvalis.js":
            raise SiteError(f"the page loads {match.group(1)}, which the one-file page cannot")
        code = _need(build / "orvalis-single.js").read_text(encoding="utf-8")
        return "<script>\n" + _inline_script(code) + "\n</script>"
    page = re.sub(r'<script src="([^"]+)"></script>', script, page)

    left = [ref for ref in re.findall(r"""\b(?:src|href)\s*=\s*["']?([^"'\s>]+)""", page)
            if not ref.startswith(("data:", "#"))]
    if left:
        raise SiteError(f"the one-file page still refers to {', '.join(left)}")
    out.write_text(page, encoding="utf-8")


SERVED_TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8",
    ".wasm": "application/wasm",
    ".webmanifest": "application/manifest+json",
    ".woff2": "font/woff2",
    ".png": "image/png",
    ".svg": "image/svg+xml",
    ".txt": "text/plain; charset=utf-8",
}


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {"": "application/octet-stream", **SERVED_TYPES}

    def end_headers(self):
        # The service worker keeps the site for offline use; the HTTP cache
        # only has to let a changed build through at once.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()


def serve(folder, port):
    if not (folder / "index.html").is_file():
        raise SiteError(f"no site in {folder} (no index.html)")
    handler = functools.partial(SiteHandler, directory=str(folder))
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"web: serving {folder} at http://127.0.0.1:{server.server_address[1]}/ (Ctrl+C stops)",
              flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    assemble = commands.add_parser("assemble")
    assemble.add_argument("--build", required=True, type=pathlib.Path)
    assemble.add_argument("--fonts", required=True, type=pathlib.Path)
    assemble.add_argument("--version", required=True)
    assemble.add_argument("--out", required=True, type=pathlib.Path)
    served = commands.add_parser("serve")
    served.add_argument("folder", type=pathlib.Path)
    served.add_argument("port", type=int)
    args = parser.parse_args(argv)
    try:
        if args.command == "serve":
            serve(args.folder, args.port)
            return 0
        files, cache = assemble_site(args.build, args.fonts, args.version, args.out / "web")
        single_page(args.build, args.out / "web", args.out / "orvalis.html")
    except (SiteError, OSError) as error:
        print(f"web_site: {error}", file=sys.stderr)
        return 1
    print(f"web_site: {args.out / 'web'} ({len(files)} files, cache {cache}) and {args.out / 'orvalis.html'}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
