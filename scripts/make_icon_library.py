#!/usr/bin/env python3
"""Writes a library project made from an installed icon theme, for the archive benchmarks:
one symbol for each icon (context and name), its picture the 48-pixel one (or the largest), and
every size of the icon as a state picture, so that most pictures are named twice.
Usage: make_icon_library.py THEME_FOLDER PROJECT.js FILES.txt (FILES.txt lists the pictures)."""
import json
import os
import sys


def main():
    theme, project, listing = sys.argv[1:4]
    icons = {}
    for folder, _, names in os.walk(theme):
        for name in names:
            if not name.endswith(".png"):
                continue
            parts = os.path.relpath(folder, theme).split(os.sep)
            if len(parts) < 2 or "x" not in parts[0]:
                continue
            size = int(parts[0].split("x")[0].split("@")[0])
            icons.setdefault((parts[1], name[:-4]), {})[size] = os.path.join(folder, name)
    symbols = []
    files = []
    for (context, name), sizes in sorted(icons.items()):
        main_size = 48 if 48 in sizes else max(sizes)
        symbols.append({
            "Identifier": f"{context}/{name}",
            "Image": sizes[main_size],
            "ImageX": 0, "ImageY": 0, "Symbol": "true", "TextX": 0, "TextY": main_size + 4,
            "TextAlign": "Left",
            "NAME": {"en": name.replace("-", " ")},
            "StateImages": [{"Value": str(s), "Image": sizes[s]} for s in sorted(sizes)],
        })
        files.extend(sizes[s] for s in sorted(sizes))
    with open(project, "w", encoding="utf-8") as out:
        json.dump({"GLYPHBOOK": symbols}, out, indent=1)
    with open(listing, "w", encoding="utf-8") as out:
        out.write("".join(f + "\n" for f in sorted(set(files))))
    refs = sum(1 + len(s["StateImages"]) for s in symbols)
    print(f"{len(symbols)} symbols, {refs} picture references, {len(set(files))} pictures")


main()
