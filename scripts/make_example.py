#!/usr/bin/env python3
"""Writes the example project examples/Examples/SmallExampleLib.js in the library document
form: UTF-8 with a byte-order mark, CR LF line ends, one blank of indentation per level and the
members in the order the editor writes them. Image paths are bare file names, found beside the
project."""
import json
import os

SYMBOLS = [
    dict(Identifier="pump", Image="pump.png", ImageX=24, ImageY=24, Symbol=True,
         TextX=24, TextY=60, TextAlign="Center", Names=[("sv", "Pump"), ("en", "Pump")],
         States=[("1", "pump_run.png"), ("Alarm", "pump_alarm.gif")]),
    dict(Identifier="valve", Image="valve.jpg", ImageX=20, ImageY=16, Symbol=True,
         TextX=44, TextY=20, TextAlign="Right", Names=[("sv", "Ventil"), ("en", "Valve")],
         States=[("1", "valve_open.jpg")]),
    dict(Identifier="tank", Image="tank.bmp", ImageX=20, ImageY=60, Symbol=True,
         TextX=20, TextY=-4, TextAlign="Center", Names=[("sv", "Tank"), ("en", "Tank")],
         States=[]),
    dict(Identifier="motor", Image="motor.png", ImageX=20, ImageY=20, Symbol=True,
         TextX=0, TextY=48, TextAlign="Left", Names=[("sv", "Motor"), ("en", "Motor")],
         States=[("1", "motor_run.png")]),
    dict(Identifier="lamp", Image="lamp.png", ImageX=12, ImageY=12, Symbol=True,
         TextX=28, TextY=16, TextAlign="Right", Names=[("sv", "Lampa"), ("en", "Lamp")],
         States=[("1", "lamp_on.png"), ("MO", "lamp_hover.png")]),
    dict(Identifier="frame", Image="frame.png", ImageX=0, ImageY=0, Symbol=False,
         Names=[("sv", "Ram"), ("en", "Frame")]),
]


def s(text):
    return json.dumps(text, ensure_ascii=False)


def symbol_lines(sym):
    ind = "   "
    out = [f'{ind}"ImageY": {sym["ImageY"]},', f'{ind}"ImageX": {sym["ImageX"]},',
           f'{ind}"Symbol": {s("true" if sym["Symbol"] else "false")},']
    if sym["Symbol"]:
        if sym["States"]:
            states = [f'     "Image": {s(img)},\n     "Value": {s(val)}' for val, img in sym["States"]]
            out.append(f'{ind}"StateImages": [\n    {{\n' + "\n    },{\n".join(states) + "\n    }],")
        else:
            out.append(f'{ind}"StateImages": [],')
        out.append(f'{ind}"TextAlign": {s(sym["TextAlign"])},')
    out.append(f'{ind}"Identifier": {s(sym["Identifier"])},')
    out.append(f'{ind}"Image": {s(sym["Image"])},')
    if sym["Symbol"]:
        out.append(f'{ind}"TextY": {sym["TextY"]},')
        out.append(f'{ind}"TextX": {sym["TextX"]},')
    names = ",\n".join(f'    {s(code)}: {s(name)}' for code, name in sym["Names"])
    out.append(f'{ind}"NAME": {{\n{names}\n{ind}}}')
    return "\n".join(out)


def main():
    body = "},{\n".join(symbol_lines(sym) + "\n  " for sym in SYMBOLS)
    text = '{\n "GLYPHBOOK": [\n  {\n' + body + "}]\n}\n"
    root = os.path.join(os.path.dirname(__file__), "..", "examples", "Examples")
    with open(os.path.join(root, "SmallExampleLib.js"), "wb") as f:
        f.write(b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8"))


if __name__ == "__main__":
    main()
