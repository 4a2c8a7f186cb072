#!/usr/bin/env python3
"""Writes resources/pinyin/gb2312-initials.txt, the pinyin initials of the GB2312 hanzi block.

The block runs from lead byte 0xB0 to 0xF7 and trail byte 0xA1 to 0xFE: 72 rows of 94 positions. The
output holds one line per lead byte with one character per trail byte: the lowercase first letter of the
character's first Mandarin reading, or '-' when the position has no reading (the five unassigned
positions D7FA-D7FE, the radicals listed below and 呒).

Readings come from Unihan_Readings.txt (field kMandarin) of Debian's unicode-data package. Where the
first reading there differs from the reading order the letter code relies on, OVERRIDES holds. The
program only needs the generated file; run this script again after changing the rules here:

    python3 tools/make-pinyin-table.py [Unihan_Readings.txt(.bz2)] [output]
"""

import bz2
import sys
import unicodedata
from pathlib import Path

DEFAULT_READINGS = "/usr/share/unicode/Unihan_Readings.txt.bz2"
DEFAULT_OUTPUT = Path(__file__).resolve().parent.parent / "resources" / "pinyin" / "gb2312-initials.txt"

# Characters of the block that carry no reading: radicals used as components, and 呒.
NO_READING = set("丶匚刂冂亻勹亠冫冖讠卩阝廴凵艹廾扌彡犭夂饣忄丬氵宀辶彐屮纟攵灬礻肀钅疒衤虍呒")

# First readings of polyphonic characters, in the order the letter code uses them.
OVERRIDES = {
    "茄": "jia", "长": "chang", "重": "zhong", "行": "xing", "调": "tiao", "乐": "le",
    "红": "hong", "角": "jiao", "家": "jia", "和": "he", "还": "hai", "虾": "xia",
}


def read_mandarin(path):
    opener = bz2.open if str(path).endswith(".bz2") else open
    readings = {}
    with opener(path, "rt", encoding="utf-8") as lines:
        for line in lines:
            if not line.startswith("U+"):
                continue
            code, field, value = line.rstrip("\n").split("\t", 2)
            if field == "kMandarin":
                readings[chr(int(code[2:], 16))] = value.split()[0]
    return readings


def initial_of(reading):
    # The first letter of the syllable without its tone mark; ü never starts a syllable.
    letter = unicodedata.normalize("NFD", reading)[0].lower()
    if not "a" <= letter <= "z":
        raise ValueError(f"unexpected reading {reading!r}")
    return letter


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_READINGS
    output = Path(sys.argv[2]) if len(sys.argv) > 2 else DEFAULT_OUTPUT
    readings = read_mandarin(source)
    readings.update(OVERRIDES)

    rows = []
    letters = 0
    for lead in range(0xB0, 0xF8):
        row = []
        for trail in range(0xA1, 0xFF):
            try:
                char = bytes([lead, trail]).decode("gb2312")
            except UnicodeDecodeError:
                row.append("-")
                continue
            if char in NO_READING:
                row.append("-")
            elif char in readings:
                row.append(initial_of(readings[char]))
                letters += 1
            else:
                raise SystemExit(f"no reading for {char} ({lead:02X}{trail:02X})")
        rows.append("".join(row))

    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_text("\n".join(rows) + "\n", encoding="ascii")
    print(f"{output}: {len(rows) * 94} positions, {letters} with a letter")


if __name__ == "__main__":
    main()
