#!/usr/bin/python3
"""Writes a pseudo-translation of a .ts file: every text becomes "[" + the text with accented
letters, lengthened by about a third + "]". A window shown in it gives away every text that does
not go through the translation (no brackets), every text cut or joined from pieces (brackets in
the middle) and every control too narrow for a longer language (clipped brackets).

Kept as they are: inserts (%1, %n, %L1, %s), the mnemonic letter after '&' (and "&&"), markup
tags and entities, escapes such as line breaks and tabs.

usage: pseudo_translation.py SOURCES.ts PSEUDO.ts
"""
import re
import sys
import xml.etree.ElementTree as ET

ACCENTED = dict(zip(
    "abcdeghiklnorstuwyzABCDEGHIKLNORSTUWYZ",
    "àƀçđéğĥîķĺñöŕšţûŵýžÀƁÇĐÉĞĤÎĶĹÑÖŔŠŢÛŴÝŽ"))

# Inserts, mnemonics, tags and entities: copied, never changed.
KEEP = re.compile(r"%L?\d+|%n|%s|&&|&\w+;|&.|<[^>]*>|\s")


# A file dialog's filter, "Text files (*.txt)": its patterns must stay at the end.
FILTER = re.compile(r"^(.*?)(\s*\([^()]*[*?][^()]*\))$", re.S)


def pseudo(text):
    name_filter = FILTER.match(text)
    if name_filter:
        return pseudo(name_filter.group(1)) + name_filter.group(2)
    out = []
    letters = 0
    at = 0
    while at < len(text):
        kept = KEEP.match(text, at)
        if kept:
            out.append(kept.group(0))
            at = kept.end()
            continue
        c = text[at]
        out.append(ACCENTED.get(c, c))
        letters += c.isalnum()
        at += 1
    return "[" + "".join(out) + "~" * max(1, (letters + 2) // 3) + "]"


def main(source_path, pseudo_path):
    tree = ET.parse(source_path)
    root = tree.getroot()
    root.set("language", "en")
    root.attrib.pop("sourcelanguage", None)
    for message in root.iter("message"):
        source = message.find("source").text or ""
        translation = message.find("translation")
        if translation is None:
            translation = ET.SubElement(message, "translation")
        for child in list(translation):
            translation.remove(child)
        translation.attrib.clear()
        if message.get("numerus") == "yes":
            translation.text = None
            for _ in range(2):
                ET.SubElement(translation, "numerusform").text = pseudo(source)
        else:
            translation.text = pseudo(source)
    tree.write(pseudo_path, encoding="utf-8", xml_declaration=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
