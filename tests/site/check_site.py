#!/usr/bin/python3
"""Checks an assembled browser site (see check.sh); prints every fault
found and exits 1 if there is any."""

import base64
import json
import pathlib
import re
import sys
import tempfile
import unicodedata

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
sys.path.insert(0, str(ROOT / "scripts"))
import web_fonts  # noqa: E402

FAMILIES = ("ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝", "ＭＳ 明朝")
EXTERNAL = re.compile(r"^(?:[a-z][a-z0-9+.-]*:|//|/)", re.I)

faults = []


def fault(message):
    faults.append(message)


def references(html):
    return re.findall(r"""\b(?:src|href)\s*=\s*["']?([^"'\s>]+)""", html)


def css_urls(css):
    return re.findall(r"""url\(\s*["']?([^"')]+?)["']?\s*\)""", css)


def font_faces(css):
    """(family, weight, src) of each @font-face rule."""
    faces = []
    for body in re.findall(r"@font-face\s*{([^}]*)}", css):
        family = re.search(r'font-family:\s*"([^"]+)"', body)
        weight = re.search(r"font-weight:\s*(\d+)", body)
        src = re.search(r"src:(.*?);\s*(?:\n|$)", body, re.S)
        faces.append((family.group(1) if family else None, weight.group(1) if weight else "400",
                       src.group(1) if src else ""))
    return faces


def check_faces(css, where, load):
    """Checks the @font-face rules of css; returns (name, family, weight,
    bytes) of each shipped face, its bytes read by load(url)."""
    faces = font_faces(css)
    for family in FAMILIES:
        if not any(f == family and w == "400" for f, w, _ in faces):
            fault(f"{where}: no regular @font-face for {family}")
    # The program's bold texts are all in this face.
    if not any(f == "ＭＳ 明朝" and w == "700" for f, w, _ in faces):
        fault(f"{where}: no bold @font-face for ＭＳ 明朝")
    for family, weight, src in faces:
        if "local(" not in src.split("url(")[0]:
            fault(f"{where}: {family} {weight} does not try the device's own face first")
        if "url(" not in src:
            fault(f"{where}: {family} {weight} has no shipped face")
    shipped = []
    for family, weight, src in faces:
        for url in css_urls(src):
            try:
                shipped.append((f"{where}: {family} {weight}", family, weight, load(url)))
            except (OSError, ValueError) as error:
                fault(f"{where}: {family} {weight}: cannot read {url[:60]} ({error})")
    return shipped


def check_site(site, version):
    index = site / "index.html"
    if not index.is_file():
        fault(f"{site}: no index.html")
        return []
    html = index.read_text(encoding="utf-8")

    # The page itself.
    if not re.search(r'<html lang="ja"', html):
        fault("index.html: not <html lang=\"ja\">")
    viewport = re.search(r'<meta name="viewport" content="([^"]*)"', html)
    if not viewport or viewport.group(1) != "width=device-width, initial-scale=1":
        fault(f"index.html: viewport is {viewport.group(1) if viewport else 'missing'}, "
              "not one that keeps the browser's zoom")
    for needed in ('<meta charset="utf-8">', '<div id="desktop"></div>', "<noscript>",
                   'rel="manifest"', 'name="theme-color"', "<title>Orvalis</title>"):
        if needed not in html:
            fault(f"index.html: no {needed}")
    if not re.search(r"serviceWorker[^\n]*https\?:", html):
        fault("index.html: the service worker is not registered only for http(s)")

    # Everything the page, its style sheets and its manifest refer to is a
    # file of the site.
    referred = {}
    for ref in references(html):
        referred.setdefault(ref, "index.html")
    for sheet in sorted(site.glob("*.css")):
        for ref in css_urls(sheet.read_text(encoding="utf-8")):
            referred.setdefault(ref, sheet.name)
    manifest = site / "manifest.webmanifest"
    try:
        data = json.loads(manifest.read_text(encoding="utf-8"))
        for icon in data.get("icons", []):
            referred.setdefault(icon["src"], manifest.name)
        for key in ("start_url", "scope"):
            referred.setdefault(data.get(key, ""), manifest.name)
        if not any(i.get("type") == "image/svg+xml" or int(i.get("sizes", "0x0").split("x")[0]) >= 192
                   for i in data.get("icons", []) if i.get("sizes")):
            fault("manifest.webmanifest: no icon large enough to install the app")
    except (OSError, ValueError, KeyError) as error:
        fault(f"manifest.webmanifest: unreadable ({error})")
    for ref, where in sorted(referred.items()):
        if EXTERNAL.match(ref):
            fault(f"{where}: refers to {ref}, outside the site's folder")
        elif ref.split("#")[0] and not (site / ref.split("#")[0].split("?")[0]).exists():
            fault(f"{where}: refers to {ref}, which is not in the site")
    for name in ("orvalis.js", "orvalis.wasm", "toolkit.css", "fonts.css", "sw.js"):
        if not (site / name).is_file():
            fault(f"{site}: no {name}")
    wasm = site / "orvalis.wasm"
    if wasm.is_file() and wasm.read_bytes()[:4] != b"\0asm":
        fault("orvalis.wasm: not WebAssembly")

    faces = check_faces((site / "fonts.css").read_text(encoding="utf-8"), "fonts.css",
                        lambda url: (site / url).read_bytes())
    if not (site / "fonts" / "OFL.txt").is_file():
        fault("fonts/: no licence text next to the fonts")

    # The service worker keeps every file, in a cache named after the version.
    worker = (site / "sw.js").read_text(encoding="utf-8") if (site / "sw.js").is_file() else ""
    cache = re.search(r'const CACHE = "([^"]*)";', worker)
    files = re.search(r"const FILES = (\[.*\]);", worker)
    if not cache or not re.fullmatch(rf"orvalis-{re.escape(version)}-[0-9a-f]+", cache.group(1)):
        fault(f"sw.js: cache name {cache.group(1) if cache else 'missing'} is not orvalis-{version}-DIGEST")
    if "caches.delete" not in worker:
        fault("sw.js: old caches are never deleted")
    if not files:
        fault("sw.js: no list of files to keep")
        return faces
    kept = json.loads(files.group(1))
    for name in kept:
        if not (site / name).exists():
            fault(f"sw.js: keeps {name}, which is not in the site")
    present = {p.relative_to(site).as_posix() for p in site.rglob("*") if p.is_file()}
    for name in sorted(present - set(kept) - {"sw.js"}):
        fault(f"sw.js: does not keep {name}, so the site would not run offline")
    if "./" not in kept:
        fault("sw.js: does not keep ./, the address the app starts at")
    return faces


def check_single(page):
    if not page.is_file():
        fault(f"{page}: missing")
        return []
    html = page.read_text(encoding="utf-8")
    for ref in references(html):
        if not ref.startswith(("data:", "#")):
            fault(f"{page.name}: refers to {ref}, which a file opened from disk cannot load")
    for ref in css_urls(html):
        if not ref.startswith("data:"):
            fault(f"{page.name}: a style sheet refers to {ref}")
    if re.search(r"<script[^>]*\bsrc\b", html) or re.search(r"<link[^>]*\bhref=\"(?!data:)", html):
        fault(f"{page.name}: loads a script or style sheet from a file")
    if "serviceWorker.register" in html:
        fault(f"{page.name}: registers a service worker, which it cannot have")
    if "<div id=\"desktop\"></div>" not in html or "<noscript>" not in html:
        fault(f"{page.name}: not the site's page")
    if not re.search(r"<script>\s*\S", html):
        fault(f"{page.name}: holds no program")
    def inside(url):
        if not url.startswith("data:font/woff2;base64,"):
            raise ValueError("not inside the page")
        return base64.b64decode(url.split(",", 1)[1], validate=True)
    return check_faces(html, page.name, inside)


def check_coverage(faces):
    """Every character the program can show is in every shipped face; the
    proportional faces space kana and brackets narrower than one em, ＭＳ 明朝
    sets every full-width character one em wide."""
    from fontTools.ttLib import TTFont

    characters = web_fonts.program_characters(ROOT)
    wide = [c for c in characters if unicodedata.east_asian_width(c) in "FW"]
    with tempfile.TemporaryDirectory() as folder:
        for number, (name, family, weight, data) in enumerate(faces):
            path = pathlib.Path(folder) / f"{number}.woff2"
            path.write_bytes(data)
            missing = web_fonts.missing_characters(path, characters)
            if missing:
                fault(f"{name}: lacks {len(missing)} of the program's {len(characters)} characters: {missing}")
                continue
            font = TTFont(str(path))
            em = font["head"].unitsPerEm
            cmap = font.getBestCmap()
            advance = {c: font["hmtx"][cmap[ord(c)]][0] for c in wide}
            if family.startswith("ＭＳ Ｐ"):
                if not advance["（"] < em or not advance["つ"] < em:
                    fault(f"{name}: not proportional (（ {advance['（']}, つ {advance['つ']} of {em})")
            else:
                odd = "".join(c for c in wide if advance[c] != em)
                if odd:
                    fault(f"{name}: not one em wide: {odd}")


def main(argv):
    if len(argv) != 1:
        print("usage: check_site.py DIST_DIR", file=sys.stderr)
        return 2
    dist = pathlib.Path(argv[0])
    version = re.search(r"project\(Orvalis VERSION ([0-9.]+)",
                        (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")).group(1)
    faces = check_site(dist / "web", version) + check_single(dist / "orvalis.html")
    check_coverage(faces)
    for message in faults:
        print(f"site: {message}", file=sys.stderr)
    if faults:
        return 1
    print(f"site: {dist} passed ({len(faces)} faces checked)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
