#!/usr/bin/env python3
"""Fails when a text of the window has no finished Swedish or German translation.

The texts are collected from the sources afresh (lupdate into a scratch file), so a text added
without running scripts/update-translations.sh is caught too. Usage:
check-translations.py LUPDATE SOURCE_DIR... TS_FILE... [--stamp FILE]"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def messages(path):
    tree = ET.parse(path)
    found = {}
    for context in tree.getroot().iter('context'):
        name = context.find('name').text
        for message in context.iter('message'):
            translation = message.find('translation')
            kind = translation.get('type') if translation is not None else 'unfinished'
            if kind in ('vanished', 'obsolete'):
                continue
            finished = kind is None and bool(translation.text)
            found[(name, message.find('source').text)] = finished
    return found


def main():
    args = sys.argv[1:]
    stamp = None
    if '--stamp' in args:
        stamp = args[args.index('--stamp') + 1]
        del args[args.index('--stamp'):args.index('--stamp') + 2]
    lupdate = args[0]
    sources = [arg for arg in args[1:] if not arg.endswith('.ts')]
    ts_files = [arg for arg in args[1:] if arg.endswith('.ts')]
    with tempfile.TemporaryDirectory() as scratch:
        collected = os.path.join(scratch, 'collected.ts')
        subprocess.run([lupdate, '-silent', '-locations', 'none', *sources, '-ts', collected],
                       check=True, stderr=subprocess.DEVNULL)
        wanted = messages(collected)
    problems = []
    for ts in ts_files:
        have = messages(ts)
        for key in wanted:
            if not have.get(key, False):
                problems.append(f'{os.path.basename(ts)}: no finished translation of '
                                f'{key[1]!r} ({key[0]})')
    if problems:
        print('\n'.join(problems), file=sys.stderr)
        print('Run scripts/update-translations.sh and add the phrases to '
              'translations/phrases.py.', file=sys.stderr)
        return 1
    if stamp:
        with open(stamp, 'w') as done:
            done.write('complete\n')
    return 0


if __name__ == '__main__':
    sys.exit(main())
