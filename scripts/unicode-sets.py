#!/usr/bin/env python3
"""Writes src/portable/text/UnicodeSets.cpp: the sets of characters that names
are checked against, as runs read from the Unicode Character Database
(Debian's unicode-data package). Run it again when that package changes:

    scripts/unicode-sets.py [/usr/share/unicode] > src/portable/text/UnicodeSets.cpp
"""
import os
import re
import subprocess
import sys

folder = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode"


def runs(path, value):
    """The code point runs of one property value in a UCD file, merged."""
    points = []
    version = None
    for line in open(f"{folder}/{path}", encoding="utf-8"):
        if version is None:
            match = re.match(r"# \S+-(\d+\.\d+\.\d+)\.txt", line)
            version = match.group(1) if match else None
        fields = [f.strip() for f in line.split("#")[0].split(";")]
        if len(fields) < 2 or fields[1] != value:
            continue
        first, _, last = fields[0].partition("..")
        points.append((int(first, 16), int(last or first, 16)))
    points.sort()
    merged = []
    for first, last in points:
        if merged and first <= merged[-1][1] + 1:
            merged[-1] = (merged[-1][0], max(last, merged[-1][1]))
        else:
            merged.append((first, last))
    return version, merged


sets = [
    ("WHITE_SPACE", "PropList.txt", "White_Space", "Unicode's White_Space property"),
    ("DEFAULT_IGNORABLE", "DerivedCoreProperties.txt", "Default_Ignorable_Code_Point",
     "Unicode's Default_Ignorable_Code_Point property"),
    ("FORMAT_CHARACTERS", "extracted/DerivedGeneralCategory.txt", "Cf", "Unicode's general category Cf"),
]

out = ["// Made by scripts/unicode-sets.py from the Unicode Character Database; do not edit.",
       '#include "portable/text/UnicodeSets.h"', "", "namespace {", ""]
versions = set()
for name, path, value, what in sets:
    version, merged = runs(path, value)
    versions.add(version)
    out.append(f"// {what}, Unicode {version}: first and last of each run.")
    out.append(f"const CodePointRun {name}[] = {{")
    # One line; clang-format wraps it below.
    out.append("    " + " ".join(f"{{0x{a:04X}, 0x{b:04X}}}," for a, b in merged))
    out.append("};")
    out.append("")
out += ["template <int N>", "bool InRuns(const CodePointRun (&runs)[N], char32_t c) {",
        "  for (const CodePointRun& run : runs)", "    if (c >= run.first && c <= run.last) return true;",
        "  return false;", "}", "", "}  // namespace", "",
        "bool IsWhiteSpace(char32_t c) { return InRuns(WHITE_SPACE, c); }",
        "bool IsDefaultIgnorable(char32_t c) { return InRuns(DEFAULT_IGNORABLE, c); }",
        "bool IsFormatCharacter(char32_t c) { return InRuns(FORMAT_CHARACTERS, c); }"]
if len(versions) != 1:
    sys.exit(f"unicode-sets: the files are of different versions: {sorted(versions)}")
# In the project's one style, as every source is.
top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
text = "\n".join(out) + "\n"
text = subprocess.run(["clang-format", "--assume-filename=" + os.path.join(top, "src/portable/text/UnicodeSets.cpp")],
                      input=text, capture_output=True, text=True, check=True).stdout
sys.stdout.write(text)
