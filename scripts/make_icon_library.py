#!/usr/bin/env python3
"""Writes a library project made from an installed icon theme, for the benchmarks: one symbol for
each icon (context and name), its picture the 48-pixel one (or the largest), and every size of
the icon as a state picture, so that most pictures are named twice.
With SYMBOLS, one symbol for each picture instead (the icon's other sizes as its state pictures),
repeated until there are SYMBOLS of them: a larger library in which nearly every symbol has a
picture of its own.
Usage: make_icon_library.py THEME_FOLDER PROJECT.js FILES.txt [SYMBOLS]
(FILES.txt lists the pictures)."""
import json
import os
import sys


def symbol(identifier, name, picture, size, sizes):
    return {
        "Identifier": identifier,
        "Image": picture,
        "ImageX": 0, "ImageY": 0, "Symbol": "true", "TextX": 0, "TextY": size + 4,
        "TextAlign": "Left",
        "NAME": {"en": name.replace("-", " ")},
        "StateImages": [{"Value": str(s), "Image": sizes[s]} for s in sorted(sizes)],
    }


def main():
    theme, project, listing = sys.argv[1:4]
    wanted = int(sys.argv[4]) if len(sys.argv) > 4 else 0
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
        symbols.append(symbol(f"{context}/{name}", name, sizes[main_size], main_size, sizes))
        files.extend(sizes[s] for s in sorted(sizes))
    if wanted:
        per_picture = []
        while len(per_picture) < wanted:
            for (context, name), sizes in sorted(icons.items()):
                for size in sorted(sizes):
                    if len(per_picture) == wanted:
                        break
                    identifier = f"{context}/{name}/{size}/{len(per_picture)}"
                    per_picture.append(symbol(identifier, name, sizes[size], size, sizes))
        symbols = per_picture
    with open(project, "w", encoding="utf-8") as out:
        json.dump({"GLYPHBOOK": symbols}, out, indent=1)
    with open(listing, "w", encoding="utf-8") as out:
        out.write("".join(f + "\n" for f in sorted(set(files))))
    refs = sum(1 + len(s["StateImages"]) for s in symbols)
    print(f"{len(symbols)} symbols, {refs} picture references, {len(set(files))} pictures")


main()
