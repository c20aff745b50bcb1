#!/usr/bin/env bash
# Collects the window's texts into translations/*.ts (lupdate) and fills in the Swedish and
# German phrases of translations/phrases.py. Run it after changing a text of the window; the
# build then refuses a translation that is missing or unfinished.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
"$lupdate" -silent -no-obsolete -locations none ui check model packing document -ts translations/glyphbook_sv.ts translations/glyphbook_de.ts
python3 - <<'PY'
import sys, xml.etree.ElementTree as ET
sys.path.insert(0, 'translations')
from phrases import PHRASES
for column, language in ((0, 'sv'), (1, 'de')):
    path = f'translations/glyphbook_{language}.ts'
    tree = ET.parse(path)
    missing = []
    for context in tree.getroot().iter('context'):
      name = context.find('name').text
      for message in context.iter('message'):
        source = message.find('source').text
        translation = message.find('translation')
        phrase = PHRASES.get((name, source), PHRASES.get(source))
        if phrase:
            translation.text = phrase[column]
            translation.attrib.pop('type', None)
        elif translation.get('type') == 'unfinished' or not translation.text:
            missing.append(source)
    tree.write(path, encoding='utf-8', xml_declaration=True)
    for source in missing:
        print(f'{path}: no phrase for {source!r}', file=sys.stderr)
PY
