#!/usr/bin/env python3
"""Writes engine/unicode_table.cpp: the classes of the code points the character
view never shows raw, as sorted ranges, and their short names (NUL, LF, ZWJ, RLO).

    scripts/unicode_table.py [UNICODE_DATA_FOLDER]

The folder defaults to /usr/share/unicode, Debian's package unicode-data. Only this
script needs it: the written table is committed, so building Radixpad does not.
"""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "engine", "unicode_table.cpp")
LAST = 0x10FFFF

# Earlier entries win where a code point has more than one property.
CLASS_NAMES = [
    "kSurrogate",
    "kNoncharacter",
    "kPrivateUse",
    "kUnassigned",
    "kBidiControl",
    "kControl",
    "kLineSeparator",
    "kParagraphSeparator",
    "kSpace",
    "kFormat",
    "kCombining",
    "kIgnorable",
]
CATEGORY_CLASS = {
    "Cs": "kSurrogate",
    "Co": "kPrivateUse",
    "Cn": "kUnassigned",
    "Cc": "kControl",
    "Zl": "kLineSeparator",
    "Zp": "kParagraphSeparator",
    "Zs": "kSpace",
    "Cf": "kFormat",
    "Mn": "kCombining",
    "Mc": "kCombining",
    "Me": "kCombining",
}


def read_ranges(path, prop):
    """Code point ranges of a binary property in a PropList-style file."""
    out = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            points, name = (part.strip() for part in line.split(";")[:2])
            if name != prop:
                continue
            first, _, last = points.partition("..")
            out.append((int(first, 16), int(last or first, 16)))
    return out


def write_packed(out, items, width=120):
    """Writes the items as indented lines of at most `width` columns."""
    line = ""
    for item in items:
        if line and len(line) + 1 + len(item) > width:
            out.write(line + "\n")
            line = ""
        line = f"{line} {item}" if line else f"    {item}"
    if line:
        out.write(line + "\n")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode"
    data = os.path.join(folder, "UnicodeData.txt")
    if not os.path.exists(data):
        sys.exit(f"unicode_table.py: {data} not found (Debian package unicode-data)")

    category = ["Cn"] * (LAST + 1)
    with open(data, encoding="utf-8") as f:
        pending = None
        for line in f:
            fields = line.split(";")
            cp, name, cat = int(fields[0], 16), fields[1], fields[2]
            if name.endswith(", First>"):
                pending = cp
                continue
            first = pending if name.endswith(", Last>") else cp
            pending = None
            for c in range(first, cp + 1):
                category[c] = cat

    cls = [CATEGORY_CLASS.get(cat) for cat in category]
    rank = {name: i for i, name in enumerate(CLASS_NAMES)}

    def mark(ranges, name):
        for first, last in ranges:
            for c in range(first, last + 1):
                if cls[c] is None or rank[name] < rank[cls[c]]:
                    cls[c] = name

    mark(read_ranges(os.path.join(folder, "PropList.txt"), "Noncharacter_Code_Point"), "kNoncharacter")
    mark(read_ranges(os.path.join(folder, "PropList.txt"), "Bidi_Control"), "kBidiControl")
    mark(read_ranges(os.path.join(folder, "DerivedCoreProperties.txt"), "Default_Ignorable_Code_Point"), "kIgnorable")

    ranges = []
    for c in range(LAST + 1):
        if cls[c] is None:
            continue
        if ranges and ranges[-1][1] == c - 1 and ranges[-1][2] == cls[c]:
            ranges[-1][1] = c
        else:
            ranges.append([c, c, cls[c]])

    # The shortest short name of each code point (the first on a tie): HT, LF, EM, BOM.
    names = {}
    with open(os.path.join(folder, "NameAliases.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            cp, alias, kind = line.split(";")
            cp = int(cp, 16)
            if kind == "abbreviation" and (cp not in names or len(alias) < len(names[cp])):
                names[cp] = alias
    names = sorted((cp, alias) for cp, alias in names.items() if cls[cp] is not None)

    version = "?"
    with open(os.path.join(folder, "NameAliases.txt"), encoding="utf-8") as f:
        m = re.search(r"NameAliases-([0-9.]+)\.txt", f.readline())
        if m:
            version = m.group(1)

    with open(OUT, "w", encoding="utf-8") as out:
        out.write(
            f"// Written by scripts/unicode_table.py from the Unicode {version} character database;\n"
            "// run the script again rather than editing this file.\n"
            '#include "unicode_table.h"\n\n'
            "namespace radixpad {\n\n"
            "namespace {\n\n"
            "using C = CharClass;\n\n"
            "// clang-format off\n"
            "constexpr CodePointRange kRanges[] = {\n"
        )
        write_packed(out, [f"{{0x{a:X}, 0x{b:X}, C::{c}}}," for a, b, c in ranges])
        out.write("};\n\n")
        out.write("constexpr ShortName kNames[] = {\n")
        write_packed(out, [f'{{0x{cp:X}, "{alias}"}},' for cp, alias in names])
        out.write(
            "};\n// clang-format on\n\n}  // namespace\n\n"
            "const std::span<const CodePointRange> kHiddenRanges{kRanges};\n"
            "const std::span<const ShortName> kShortNames{kNames};\n\n"
            "}  // namespace radixpad\n"
        )
    print(f"unicode_table.py: {len(ranges)} ranges, {len(names)} short names -> {os.path.relpath(OUT, ROOT)}")


if __name__ == "__main__":
    main()
