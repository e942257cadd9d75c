"""The tools that build the browser site: the scan for the characters the
fonts must hold, and the assembly of the site and of the one-file page.
Needs only python3 (no fonts, no browser build)."""

import html.parser
import json
import pathlib
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
sys.path.insert(0, str(ROOT / "scripts"))
import web_fonts  # noqa: E402
import web_site  # noqa: E402


class LiteralScan(unittest.TestCase):
    def chars(self, source):
        return "".join(web_fonts.cpp_literals(source))

    def test_escapes_are_decoded_to_what_is_shown(self):
        # The parentheses of the coordinate labels are written as escapes.
        self.assertEqual(self.chars(r'f("\uFF08\u3000\uFF09");'), "（\u3000）")
        self.assertEqual(self.chars(r'f("\U0001F600");'), "\U0001F600")
        # Bytes of UTF-8, in hex and in octal.
        self.assertEqual(self.chars(r'f("\xe7\xb5\x82");'), "終")
        self.assertEqual(self.chars(r'f("\347\265\202");'), "終")
        self.assertEqual(self.chars(r'f("a\"b\\");'), 'a"b\\')

    def test_literals_of_every_form_are_found(self):
        source = 'a = u8"了"; b = R"x(再"試)x"; c = u8R"(描)"; d = \'√\'; e = L"画";'
        self.assertEqual(self.chars(source), '了再"試描√画')

    def test_comments_and_numbers_are_not_literals(self):
        source = ('// 線 "距"\n'
                  '/* "離" \'誤\' */\n'
                  'int n = 1\'000\'000; auto s = "点";\n'
                  'float f = 1.5e3\'0; // it\'s\n')
        self.assertEqual(self.chars(source), "点")

    def test_an_unclosed_apostrophe_of_embedded_script_is_skipped(self):
        source = 'EM_JS(void, f, (), { let x = a\' + "終"; });\n'
        self.assertEqual(self.chars(source), "終")

    def test_malformed_literals_are_reported(self):
        for source in ('f("abc\n");', 'f("abc', 'f("\\u12");', 'f("\\xff");', "/* 終"):
            with self.subTest(source=source), self.assertRaises(web_fonts.ScanError):
                web_fonts.cpp_literals(source)


class ProgramCharacters(unittest.TestCase):
    def test_every_source_of_text_is_scanned(self):
        with tempfile.TemporaryDirectory() as folder:
            root = pathlib.Path(folder)
            (root / "src" / "toolkit" / "web").mkdir(parents=True)
            (root / "data" / "web").mkdir(parents=True)
            (root / "src" / "a.h").write_text('// 没\nconst char* k = "軌跡";\n', encoding="utf-8")
            (root / "src" / "toolkit" / "web" / "b.cpp").write_text('t("終了しました");\n', encoding="utf-8")
            (root / "src" / "toolkit" / "web" / "toolkit.css").write_text(
                '.tk-close::after { content: "×"; } /* "没" */\n', encoding="utf-8")
            (root / "data" / "web" / "index.html").write_text("<noscript>有効</noscript>", encoding="utf-8")
            (root / "src" / "c.txt").write_text('"没"', encoding="utf-8")
            found = web_fonts.program_characters(root)
        for c in "軌跡終了しました×有効０９－√．＝，\u3000~ A":
            self.assertIn(c, found)
        self.assertNotIn("没", found)
        self.assertNotIn("\n", found)
        self.assertEqual(found, "".join(sorted(set(found))))

    def test_the_real_program_yields_its_captions_and_keys(self):
        found = web_fonts.program_characters(ROOT)
        for text in ("終", "了", "点Ｐ", "（）", "決定", "取消", "誤差", "ＰＦ：ＰＨ", "ブラウザー"):
            for c in text:
                self.assertIn(c, found, text)


NOTO_SANS = pathlib.Path("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc")


def _has_fonttools():
    try:
        import fontTools.subset  # noqa: F401
        import brotli  # noqa: F401
    except ImportError:
        return False
    return True


@unittest.skipUnless(_has_fonttools() and NOTO_SANS.is_file(), "needs python3-fonttools, python3-brotli, fonts-noto-cjk")
class ProportionalFaces(unittest.TestCase):
    TEXT = "（つ定Ｐ，A"

    def test_the_alternates_are_set_into_the_glyphs_once(self):
        from fontTools import subset as fontsubset
        from fontTools.pens.boundsPen import BoundsPen
        from fontTools.ttLib import TTFont

        with tempfile.TemporaryDirectory() as folder:
            fixed, proportional = pathlib.Path(folder, "f.woff2"), pathlib.Path(folder, "p.woff2")
            web_fonts.subset(str(NOTO_SANS), "Noto Sans CJK JP", str(fixed), self.TEXT, False)
            web_fonts.subset(str(NOTO_SANS), "Noto Sans CJK JP", str(proportional), self.TEXT, True)
            # The face's own alternates, as a shaper would apply them.
            options = fontsubset.Options()
            options.font_number = 0
            options.layout_features = ["palt"]
            source = fontsubset.load_font(str(NOTO_SANS), options, lazy=True)
            subsetter = fontsubset.Subsetter(options)
            subsetter.populate(text=self.TEXT)
            subsetter.subset(source)
            changes = web_fonts._proportional_widths(source)
            cmap_source = source.getBestCmap()
            fonts = {name: TTFont(str(path)) for name, path in (("f", fixed), ("p", proportional))}

            def measure(name, char):
                font = fonts[name]
                glyph = font.getBestCmap()[ord(char)]
                pen = BoundsPen(font.getGlyphSet())
                font.getGlyphSet()[glyph].draw(pen)
                return font["hmtx"][glyph][0], pen.bounds[0]

            for char in self.TEXT:
                shift, advance = changes.get(cmap_source[ord(char)], (0, 0))
                width, left = measure("f", char)
                with self.subTest(char=char):
                    self.assertEqual(measure("p", char), (width + advance, left + shift))
            self.assertNotEqual(changes.get(cmap_source[ord("（")], (0, 0))[1], 0)
            tags = {r.FeatureTag for r in fonts["p"]["GPOS"].table.FeatureList.FeatureRecord}
            self.assertNotIn("palt", tags)
            # The fixed face is shaped by nobody: no feature at all.
            if "GPOS" in fonts["f"]:
                self.assertFalse(fonts["f"]["GPOS"].table.FeatureList.FeatureRecord)
            source.close()
            for font in fonts.values():
                font.close()


class _Elements(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.scripts, self.styles, self.tags, self._in = [], [], [], None

    def handle_starttag(self, tag, attrs):
        self.tags.append((tag, dict(attrs)))
        if tag in ("script", "style"):
            self._in = (self.scripts if tag == "script" else self.styles)
            self._in.append("")

    def handle_endtag(self, tag):
        self._in = None

    def handle_data(self, data):
        if self._in is not None:
            self._in[-1] += data


class Assembly(unittest.TestCase):
    PROGRAM = 'var s = "</script><!-- 終"; document.title = s;\n'

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        base = pathlib.Path(self.folder.name)
        self.build, self.fonts, self.out = base / "build", base / "fonts", base / "dist"
        self.build.mkdir()
        self.fonts.mkdir()
        (self.build / "orvalis.js").write_text(self.PROGRAM, encoding="utf-8")
        (self.build / "orvalis-single.js").write_text(self.PROGRAM, encoding="utf-8")
        (self.build / "orvalis.wasm").write_bytes(b"\0asm\1\0\0\0")
        (self.build / "toolkit.css").write_text(".tk-form { color: black; }\n", encoding="utf-8")
        for name in web_site.FONTS:
            (self.fonts / name).write_bytes(b"wOF2" + name.encode())

    def tearDown(self):
        self.folder.cleanup()

    def assemble(self, version="1.2.3"):
        return web_site.assemble_site(self.build, self.fonts, version, self.out / "web")

    def test_the_worker_keeps_every_file_under_a_name_that_changes_with_them(self):
        files, cache = self.assemble()
        worker = (self.out / "web" / "sw.js").read_text(encoding="utf-8")
        kept = json.loads(worker.split("const FILES = ")[1].split(";\n")[0])
        on_disk = sorted(p.relative_to(self.out / "web").as_posix()
                         for p in (self.out / "web").rglob("*") if p.is_file())
        self.assertEqual(sorted(kept), sorted(["./"] + [f for f in on_disk if f != "sw.js"]))
        self.assertIn(f'const CACHE = "{cache}";', worker)
        self.assertTrue(cache.startswith("orvalis-1.2.3-"), cache)
        self.assertEqual(self.assemble()[1], cache)
        (self.build / "orvalis.wasm").write_bytes(b"\0asm\1\0\0\0\0")
        self.assertNotEqual(self.assemble()[1], cache)
        self.assertNotEqual(self.assemble("1.2.4")[1].split("-")[1], "1.2.3")

    def test_the_single_page_holds_everything_and_its_program_intact(self):
        self.assemble()
        web_site.single_page(self.build, self.out / "web", self.out / "orvalis.html")
        page = _Elements()
        page.feed((self.out / "orvalis.html").read_text(encoding="utf-8"))
        # One script: the program, whose text survived the HTML parser.
        self.assertEqual(len(page.scripts), 1)
        self.assertIn('"<\\/script><\\!-- 終"', page.scripts[0])
        self.assertEqual(page.scripts[0].replace("<\\/", "</").replace("<\\!", "<!").strip(),
                         self.PROGRAM.strip())
        self.assertTrue(any(".tk-form" in s for s in page.styles))
        self.assertTrue(any("data:font/woff2;base64," in s for s in page.styles))
        for tag, attrs in page.tags:
            for key in ("src", "href"):
                if key in attrs:
                    self.assertTrue(attrs[key].startswith("data:"), (tag, attrs))
        self.assertNotIn("manifest", [a.get("rel") for _, a in page.tags])

    def test_a_style_sheet_that_refers_outside_the_site_stops_the_assembly(self):
        (self.build / "toolkit.css").write_text('a { background: url("https://x.example/a.png"); }',
                                                encoding="utf-8")
        self.assemble()
        with self.assertRaises(web_site.SiteError):
            web_site.single_page(self.build, self.out / "web", self.out / "orvalis.html")

    def test_a_missing_program_file_stops_the_assembly(self):
        (self.build / "orvalis.wasm").unlink()
        with self.assertRaises(web_site.SiteError):
            self.assemble()


if __name__ == "__main__":
    unittest.main()
