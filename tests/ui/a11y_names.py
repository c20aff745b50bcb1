#!/usr/bin/python3
"""Reads the running editor through the desktop's accessibility bus, as a screen reader does:
every shown push button, text, combo box, check box and radio button must have a name of its
own, not empty and not the title of the group it stands in. Run under a private D-Bus session
with an X display (tests/ui/a11y_names.sh does that). Usage: a11y_names.py EDITOR"""
import os
import subprocess
import sys
import time

import pyatspi

ROLES = {
    pyatspi.ROLE_PUSH_BUTTON: 'push button',
    pyatspi.ROLE_TEXT: 'text',
    pyatspi.ROLE_ENTRY: 'text',
    pyatspi.ROLE_COMBO_BOX: 'combo box',
    pyatspi.ROLE_CHECK_BOX: 'check box',
    pyatspi.ROLE_RADIO_BUTTON: 'radio button',
    pyatspi.ROLE_TOGGLE_BUTTON: 'push button',
}


def find_editor(deadline):
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for application in desktop:
            if application is not None and application.name in ('Glyphbook Creator', 'glyphbook-creator'):
                return application
        time.sleep(0.2)
    return None


def walk(node, group, found, depth=0):
    if node is None or depth > 40:
        return
    try:
        role = node.getRole()
        name = node.name or ''
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return
    if role == pyatspi.ROLE_PANEL and name:
        group = name
    if showing and role in ROLES:
        found.append((ROLES[role], name, group))
    for child in node:
        walk(child, group, found, depth + 1)


def main():
    editor = sys.argv[1]
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_QPA_PLATFORM='xcb')
    process = subprocess.Popen([editor], env=environment)
    try:
        application = find_editor(time.time() + 30)
        if application is None:
            print('the editor did not appear on the accessibility bus', file=sys.stderr)
            return 1
        time.sleep(1)
        found = []
        walk(application, None, found)
        if len(found) < 20:
            print(f'only {len(found)} controls were read: {found}', file=sys.stderr)
            return 1
        bad = [(kind, name, group) for kind, name, group in found
               if not name.strip() or name == group]
        for kind, name, group in bad:
            print(f'{kind} without a name of its own: {name!r} in {group!r}', file=sys.stderr)
        print(f'{len(found)} controls read, {len(bad)} without a name of their own')
        return 1 if bad else 0
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()


if __name__ == '__main__':
    sys.exit(main())
