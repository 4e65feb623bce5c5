"""Makes the face that stands in for "맑은 고딕" under Wine: NanumGothic's
glyphs with Malgun Gothic's measures, so that the dialogs get the size in
pixels they get on a reader's Windows. The dialog manager takes its vertical
unit from the face's height (usWinAscent + usWinDescent) and its horizontal
unit from the average advance of A-Z and a-z; those are Malgun Gothic's here,
from its published tables in units of 2048 per em. Nothing of it ships.

Usage: make_test_face.py REGULAR.ttf BOLD.ttf OUTPUT_DIR
"""
import os
import sys

from fontTools.ttLib import TTFont

FAMILY = "Pulmetra Test Gothic"
FILE_STEM = "PulmetraTestGothic"

MALGUN_UNITS_PER_EM = 2048
MALGUN_WIN_ASCENT = 2229
MALGUN_WIN_DESCENT = 495
# Advance widths of Malgun Gothic's regular face.
MALGUN_LETTER_ADVANCES = {
    "A": 1348, "B": 1195, "C": 1300, "D": 1469, "E": 1059, "F": 1021, "G": 1437, "H": 1484,
    "I": 553, "J": 737, "K": 1209, "L": 983, "M": 1878, "N": 1567, "O": 1584, "P": 1169,
    "Q": 1584, "R": 1249, "S": 1112, "T": 1093, "U": 1439, "V": 1299, "W": 1953, "X": 1231,
    "Y": 1154, "Z": 1193, "a": 1065, "b": 1230, "c": 968, "d": 1233, "e": 1096, "f": 648,
    "g": 1233, "h": 1185, "i": 504, "j": 504, "k": 1036, "l": 504, "m": 1802, "n": 1184,
    "o": 1227, "p": 1230, "q": 1233, "r": 724, "s": 887, "t": 706, "u": 1184, "v": 998,
    "w": 1508, "x": 952, "y": 1009, "z": 946,
}
# The hinting tool's sources, which describe the face before the change. The
# hinting itself stays: the letters are scaled across only, and the hints that
# the renderer follows are those of height.
STALE_TABLES = ("TSI0", "TSI1", "TSI2", "TSI3", "TSI5")


def scaled(value, units_per_em):
    return round(value * units_per_em / MALGUN_UNITS_PER_EM)


def set_vertical_metrics(font):
    units_per_em = font["head"].unitsPerEm
    ascent = scaled(MALGUN_WIN_ASCENT, units_per_em)
    descent = scaled(MALGUN_WIN_DESCENT, units_per_em)
    font["OS/2"].usWinAscent = ascent
    font["OS/2"].usWinDescent = descent
    font["hhea"].ascent = ascent
    font["hhea"].descent = -descent
    font["hhea"].lineGap = 0


def scale_letter(font, name, factor):
    """Gives the letter its new advance and scales its outline and side bearing
    with it; the points keep their order, so the letter's hints still fit."""
    glyf = font["glyf"]
    glyph = glyf[name]
    glyph.coordinates.scale((factor, 1))
    glyph.coordinates.toInt()
    glyph.recalcBounds(glyf)
    head = font["head"]
    head.xMin, head.xMax = min(head.xMin, glyph.xMin), max(head.xMax, glyph.xMax)
    advance = font["hmtx"][name][0]
    font["hmtx"][name] = (round(advance * factor), glyph.xMin)


def drop_stale_tables(font):
    for tag in STALE_TABLES:
        if tag in font:
            del font[tag]


def rename(font, style):
    """A name of its own in every table entry that names the face; the source's
    copyright and licence entries stay."""
    name = font["name"]
    full = FAMILY if style == "Regular" else f"{FAMILY} {style}"
    postscript = f"{FILE_STEM}-{style}"
    keep = {0: None, 13: None, 14: None}
    names = {1: FAMILY, 2: style, 3: f"{postscript};derived from NanumGothic", 4: full, 6: postscript}
    name.names = [record for record in name.names if record.nameID in keep]
    for name_id, text in names.items():
        name.setName(text, name_id, 3, 1, 0x409)
        name.setName(text, name_id, 1, 0, 0)


def make_face(source, style, output_dir, factors=None):
    # Bounds are kept up to date letter by letter: recomputing them would read all 20,000 glyphs.
    font = TTFont(source, recalcBBoxes=False)
    set_vertical_metrics(font)
    glyph_of = font.getBestCmap()
    if factors is None:
        # The regular face: each letter gets Malgun Gothic's advance.
        units_per_em = font["head"].unitsPerEm
        factors = {
            letter: scaled(width, units_per_em) / font["hmtx"][glyph_of[ord(letter)]][0]
            for letter, width in MALGUN_LETTER_ADVANCES.items()
        }
    for letter, factor in factors.items():
        scale_letter(font, glyph_of[ord(letter)], factor)
    drop_stale_tables(font)
    rename(font, style)
    font.save(os.path.join(output_dir, f"{FILE_STEM}-{style}.ttf"))
    return factors


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    regular, bold, output_dir = sys.argv[1:]
    os.makedirs(output_dir, exist_ok=True)
    factors = make_face(regular, "Regular", output_dir)
    # The bold letters widen in the same proportion as the regular ones.
    make_face(bold, "Bold", output_dir, factors)


if __name__ == "__main__":
    main()
