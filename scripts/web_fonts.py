#!/usr/bin/python3
"""The fonts of the browser build: which characters the program can show,
the subsets of Debian's Noto CJK faces that hold them, and the proof that
they do.

  web_fonts.py chars [--root DIR]          prints every character the program
                                           can show, on one line (UTF-8)
  web_fonts.py subset SOURCE FAMILY OUT [--proportional] [--root DIR]
                                           writes OUT, a WOFF2 subset of the
                                           face FAMILY (e.g. "Noto Sans CJK JP")
                                           of the collection or font SOURCE,
                                           holding every such character; with
                                           --proportional its proportional
                                           alternates set into the glyphs
  web_fonts.py check FONT... [--root DIR]  exits 1, naming what is missing,
                                           unless every such character is in
                                           each FONT's character map
  web_fonts.py licence COPYRIGHT OUT FONT...
                                           writes to OUT the copyright notices
                                           of the FONTs and the SIL Open Font
                                           Licence text of the Debian copyright
                                           file COPYRIGHT they came with

The characters are those of the string and character literals in
src/**/*.{h,cpp} (comments skipped, escapes decoded), the quoted strings of
the browser backend's style sheet and scripts, every character of the page
data/web/index.html, printable ASCII, the full-width digits and the signs
the keypad and the readouts use. Runs with Debian's python3 and its
python3-fonttools (and python3-brotli for WOFF2).
"""

import argparse
import pathlib
import sys

# What no scan of the sources can prove absent: numbers are formatted at run
# time (ASCII digits, signs, E), the keypad's keys and the parentheses are
# full-width forms, and the labels pad with the ideographic space.
FIXED = (
    "".join(chr(c) for c in range(0x20, 0x7F))
    + "".join(chr(c) for c in range(0xFF10, 0xFF1A))
    + "－√．＝，\u3000"
)

SIMPLE_ESCAPES = {
    "n": "\n", "t": "\t", "r": "\r", "v": "\v", "f": "\f", "a": "\a",
    "b": "\b", "0": "\0", "\\": "\\", "'": "'", '"': '"', "?": "?",
}


class ScanError(Exception):
    pass


def _decode_literal(body, where):
    """Decodes the inside of a C++ string or character literal (the source is
    UTF-8; \\x and octal escapes are bytes of it)."""
    out = bytearray()
    i = 0
    while i < len(body):
        ch = body[i]
        if ch != "\\":
            out += ch.encode("utf-8")
            i += 1
            continue
        i += 1
        if i >= len(body):
            raise ScanError(f"{where}: a literal ends in a backslash")
        esc = body[i]
        if esc in "uU":
            digits = 4 if esc == "u" else 8
            code = body[i + 1:i + 1 + digits]
            if len(code) != digits or any(c not in "0123456789abcdefABCDEF" for c in code):
                raise ScanError(f"{where}: malformed \\{esc} escape")
            out += chr(int(code, 16)).encode("utf-8")
            i += 1 + digits
        elif esc == "x":
            j = i + 1
            while j < len(body) and body[j] in "0123456789abcdefABCDEF":
                j += 1
            if j == i + 1:
                raise ScanError(f"{where}: malformed \\x escape")
            out.append(int(body[i + 1:j], 16) & 0xFF)
            i = j
        elif esc in "01234567":
            j = i
            while j < len(body) and j < i + 3 and body[j] in "01234567":
                j += 1
            out.append(int(body[i:j], 8) & 0xFF)
            i = j
        elif esc in SIMPLE_ESCAPES:
            out += SIMPLE_ESCAPES[esc].encode("utf-8")
            i += 1
        else:
            out += esc.encode("utf-8")
            i += 1
    try:
        return out.decode("utf-8")
    except UnicodeDecodeError as error:
        raise ScanError(f"{where}: a literal is not UTF-8 once its escapes are decoded ({error})") from None


def cpp_literals(text, name="<text>"):
    """The decoded string and character literals of C++ source text, in
    order. Comments are skipped; a quote inside a number is a digit
    separator; a character literal that does not close on its line is
    ignored (an apostrophe in embedded script code)."""
    literals = []
    i, n = 0, len(text)
    token = ""  # the identifier or number just before, for prefixes and separators
    while i < n:
        ch = text[i]
        line = text.count("\n", 0, i) + 1
        where = f"{name}:{line}"
        if text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end < 0 else end
            token = ""
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            if end < 0:
                raise ScanError(f"{where}: unterminated comment")
            i = end + 2
            token = ""
        elif ch == '"' and token.endswith("R") and token in ("R", "u8R", "uR", "UR", "LR"):
            open_paren = text.find("(", i + 1)
            if open_paren < 0:
                raise ScanError(f"{where}: malformed raw string")
            delimiter = text[i + 1:open_paren]
            close = text.find(")" + delimiter + '"', open_paren + 1)
            if close < 0:
                raise ScanError(f"{where}: unterminated raw string")
            literals.append(text[open_paren + 1:close])
            i = close + len(delimiter) + 2
            token = ""
        elif ch == '"':
            j = i + 1
            while j < n and text[j] != '"':
                if text[j] == "\n":
                    raise ScanError(f"{where}: unterminated string literal")
                j += 2 if text[j] == "\\" else 1
            if j >= n:
                raise ScanError(f"{where}: unterminated string literal")
            literals.append(_decode_literal(text[i + 1:j], where))
            i = j + 1
            token = ""
        elif ch == "'" and token[:1].isdigit():
            i += 1  # 1'000: a digit separator
            token += "'"
        elif ch == "'":
            j = i + 1
            while j < n and text[j] not in "'\n":
                j += 2 if text[j] == "\\" else 1
            if j < n and text[j] == "'":
                literals.append(_decode_literal(text[i + 1:j], where))
                i = j + 1
            else:
                i += 1
            token = ""
        elif ch.isalnum() or ch == "_" or (ch == "." and token[:1].isdigit()):
            token += ch
            i += 1
        else:
            token = ""
            i += 1
    return literals


def quoted_strings(text):
    """The quoted strings of a style sheet or script ("...", '...', `...`),
    undecoded: their escapes are ASCII, which is always in the set."""
    strings = []
    i, n = 0, len(text)
    while i < n:
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            i = n if end < 0 else end + 2
        elif text[i] in "\"'`":
            quote = text[i]
            j = i + 1
            while j < n and text[j] != quote and (quote == "`" or text[j] != "\n"):
                j += 2 if text[j] == "\\" else 1
            strings.append(text[i + 1:j])
            i = j + 1
        else:
            i += 1
    return strings


def program_characters(root):
    """Every character the program and its page can show, as a sorted string."""
    root = pathlib.Path(root)
    found = set(FIXED)
    sources = sorted(p for p in (root / "src").rglob("*") if p.suffix in (".h", ".cpp"))
    if not sources:
        raise ScanError(f"no C++ sources under {root / 'src'}")
    for path in sources:
        for literal in cpp_literals(path.read_text(encoding="utf-8"), str(path.relative_to(root))):
            found.update(literal)
    web = root / "src" / "toolkit" / "web"
    for path in sorted(web.glob("*.css")) + sorted(web.glob("*.js")):
        for string in quoted_strings(path.read_text(encoding="utf-8")):
            found.update(string)
    page = root / "data" / "web" / "index.html"
    found.update(page.read_text(encoding="utf-8"))
    # Line breaks and tabs are layout, not glyphs.
    return "".join(sorted(c for c in found if c.isprintable() or c == "\u3000"))


def _face_number(source, family):
    from fontTools.ttLib import TTCollection, TTFont

    if source.suffix.lower() in (".ttc", ".otc"):
        collection = TTCollection(str(source), lazy=True)
        names = []
        for number, font in enumerate(collection.fonts):
            name = font["name"].getDebugName(1)
            names.append(name)
            if name == family:
                return number
        raise ScanError(f"{source} has no face '{family}' (it has: {', '.join(names)})")
    name = TTFont(str(source), lazy=True)["name"].getDebugName(1)
    if name != family:
        raise ScanError(f"{source} is '{name}', not '{family}'")
    return 0


def _proportional_widths(font):
    """Each glyph's (shift, advance change) of the face's proportional
    alternates (its GPOS feature 'palt'), in font units."""
    if "GPOS" not in font:
        return {}
    gpos = font["GPOS"].table
    lookups = sorted({index for record in gpos.FeatureList.FeatureRecord if record.FeatureTag == "palt"
                      for index in record.Feature.LookupListIndex})
    changes = {}
    for index in lookups:
        lookup = gpos.LookupList.Lookup[index]
        for table in lookup.SubTable:
            if lookup.LookupType == 9:
                table = table.ExtSubTable
            if getattr(table, "LookupType", 1) != 1:
                raise ScanError(f"the proportional alternates use a lookup of type {table.LookupType}")
            glyphs = table.Coverage.glyphs
            values = [table.Value] * len(glyphs) if table.Format == 1 else table.Value
            for glyph, value in zip(glyphs, values):
                # The first subtable that covers a glyph is the one applied.
                changes.setdefault(glyph, (getattr(value, "XPlacement", 0) or 0,
                                           getattr(value, "XAdvance", 0) or 0))
    return changes


def make_proportional(font):
    """Sets the proportional alternates into the glyphs themselves (outline
    shifted, advance changed), as the proportional faces ＭＳ Ｐゴシック and
    ＭＳ Ｐ明朝 space kana, punctuation and full-width letters: a canvas
    cannot ask for the feature, and text must measure the same in the page's
    elements and on its canvases. Returns how many glyphs changed."""
    from fontTools.pens.t2CharStringPen import T2CharStringPen
    from fontTools.pens.transformPen import TransformPen

    if "CFF " not in font:
        raise ScanError("only CFF-flavoured faces can be made proportional")
    top = font["CFF "].cff.topDictIndex[0]
    charstrings = top.CharStrings
    glyphs = font.getGlyphSet()
    metrics = font["hmtx"]
    changed = 0
    for glyph, (shift, advance) in sorted(_proportional_widths(font).items()):
        if (shift, advance) == (0, 0) or glyph not in charstrings:
            continue
        width, left = metrics[glyph]
        pen = T2CharStringPen(width + advance, glyphs)
        glyphs[glyph].draw(TransformPen(pen, (1, 0, 0, 1, shift, 0)))
        old, selector = charstrings.getItemAndSelector(glyph)
        private = top.FDArray[selector].Private if hasattr(top, "FDArray") else top.Private
        new = pen.getCharString(private=private, globalSubrs=top.GlobalSubrs)
        if hasattr(old, "fdSelectIndex"):
            new.fdSelectIndex = old.fdSelectIndex
        charstrings[glyph] = new
        metrics[glyph] = (width + advance, left + shift)
        changed += 1
    return changed


def subset(source, family, out, characters, proportional):
    """Writes the subset; a proportional one has the proportional alternates
    set into its glyphs and keeps kerning (the face's kana kerning is made
    for them), a fixed one keeps no layout feature at all, so that every
    full-width character is as wide as the next."""
    from fontTools import subset as fontsubset

    number = _face_number(pathlib.Path(source), family)
    options = fontsubset.Options()
    options.flavor = "woff2"
    options.font_number = number
    options.layout_features = ["kern", "palt"] if proportional else []
    options.hinting = False
    options.desubroutinize = True
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
    options.notdef_outline = True
    font = fontsubset.load_font(source, options, dontLoadGlyphNames=True)
    subsetter = fontsubset.Subsetter(options)
    subsetter.populate(text=characters)
    subsetter.subset(font)
    if proportional:
        if make_proportional(font) == 0:
            raise ScanError(f"{family} has no proportional alternates for the program's characters")
        # The alternates are in the glyphs now: a page asking for them must
        # not move the glyphs a second time.
        font["GPOS"].subset_feature_tags({"kern"})
        font["GPOS"].prune_lookups()
    fontsubset.save_font(font, out, options)
    missing = missing_characters(out, characters)
    if missing:
        raise ScanError(f"{family} lacks {len(missing)} characters: {missing}")


def missing_characters(font_path, characters):
    from fontTools.ttLib import TTFont

    cmap = TTFont(str(font_path), lazy=True).getBestCmap()
    return "".join(c for c in characters if ord(c) not in cmap)


def licence(copyright_file, out, fonts):
    """The fonts' own copyright notices, the copyright of the 'Files: *'
    stanza of their Debian copyright file and its 'License: SIL-1.1' text."""
    from fontTools.ttLib import TTFont

    lines = pathlib.Path(copyright_file).read_text(encoding="utf-8").splitlines()
    holder, text, state = [], [], None
    for line in lines:
        if not line.strip():
            state = None
            continue
        if line.startswith("Files:"):
            state = "files-all" if line.split(":", 1)[1].strip() == "*" else None
        elif line.startswith("License:"):
            state = "licence" if line.split(":", 1)[1].strip().startswith("SIL-1.1") and not text else None
        elif state == "files-all" and line.startswith("Copyright:"):
            holder.append(line.split(":", 1)[1].strip())
        elif state == "licence" and line.startswith(" "):
            body = line[1:]
            text.append("" if body == "." else body)
    if not holder or not text:
        raise ScanError(f"{copyright_file} has no copyright of 'Files: *' or no SIL-1.1 licence text")
    notices = []
    for font in fonts:
        names = TTFont(str(font), lazy=True)["name"]
        notices.append(f"{pathlib.Path(font).name}: a subset of {names.getDebugName(4)}, "
                       f"{names.getDebugName(0)} {names.getDebugName(7) or ''}".rstrip())
    pathlib.Path(out).write_text(
        "The fonts in this folder are subsets, made with fontTools' pyftsubset, of the\n"
        "Noto CJK fonts (https://github.com/notofonts/noto-cjk) as Debian's package\n"
        "fonts-noto-cjk ships them. They are under the SIL Open Font License 1.1 below.\n\n"
        + "".join(n + "\n" for n in notices)
        + "".join(f"Debian's copyright file: Copyright {h}\n" for h in holder)
        + "\n" + "\n".join(text) + "\n",
        encoding="utf-8")


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    root_default = pathlib.Path(__file__).resolve().parent.parent
    chars = commands.add_parser("chars")
    chars.add_argument("--root", default=root_default)
    sub = commands.add_parser("subset")
    sub.add_argument("source")
    sub.add_argument("family")
    sub.add_argument("out")
    sub.add_argument("--proportional", action="store_true")
    sub.add_argument("--root", default=root_default)
    check = commands.add_parser("check")
    check.add_argument("fonts", nargs="+")
    check.add_argument("--root", default=root_default)
    lic = commands.add_parser("licence")
    lic.add_argument("copyright")
    lic.add_argument("out")
    lic.add_argument("fonts", nargs="+")
    args = parser.parse_args(argv)

    try:
        if args.command == "chars":
            sys.stdout.write(program_characters(args.root) + "\n")
        elif args.command == "subset":
            subset(args.source, args.family, args.out, program_characters(args.root), args.proportional)
        elif args.command == "check":
            characters = program_characters(args.root)
            failed = False
            for font in args.fonts:
                missing = missing_characters(font, characters)
                if missing:
                    failed = True
                    print(f"{font}: lacks {len(missing)} of {len(characters)} characters: {missing}",
                          file=sys.stderr)
                else:
                    print(f"{font}: holds all {len(characters)} characters")
            return 1 if failed else 0
        elif args.command == "licence":
            licence(args.copyright, args.out, args.fonts)
    except (ScanError, OSError) as error:
        print(f"web_fonts: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
