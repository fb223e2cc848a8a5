#!/usr/bin/python3
"""Writes the licence of a font as the site ships it: from the Debian copyright file of
its package (machine-readable format), the header, the copyright of the font files
themselves ("Files: *") and the full text of their licence; the packaging's own
copyright, and the list of upstream files Debian leaves out, are not about the font.

  font-licence.py DEBIAN_COPYRIGHT_FILE OUTPUT_FILE"""
import re
import sys


def paragraphs(text):
    return [p for p in re.split(r"\n\s*\n", text.strip()) if p.strip()]


def fields(paragraph):
    """The paragraph's fields as (name, lines), in order; continuation lines stay."""
    found = []
    for line in paragraph.split("\n"):
        match = re.match(r"^([A-Za-z-]+):(.*)$", line)
        if match and not line.startswith(" "):
            found.append([match.group(1), [line]])
        elif found:
            found[-1][1].append(line)
    return found


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as source:
        parts = paragraphs(source.read())
    header = "\n".join(line for name, lines in fields(parts[0]) if name != "Files-Excluded" for line in lines)
    font = next(p for p in parts if re.search(r"^Files:\s*\*\s*$", p, re.MULTILINE))
    licence = re.search(r"^License:\s*(\S+)", font, re.MULTILINE).group(1)
    kept = [header, font]
    for p in parts:
        if p.startswith("License:") and p.split("\n", 1)[0].split(":", 1)[1].strip() == licence:
            kept.append(p)
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        out.write("\n\n".join(kept) + "\n")


main()
