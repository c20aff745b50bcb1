#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks that every installed file is where
# desktops and the programs look for it, and that the installed tool runs from there.
set -euo pipefail
build=${1:-build}
dest=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$dest" "$work"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr > /dev/null

missing=0
for f in usr/bin/glyphbook usr/libexec/glyphbook/glyphbook usr/bin/glyphbook-creator \
         usr/share/glyphbook/help.html usr/share/glyphbook/Examples/SmallExampleLib.js \
         usr/share/glyphbook/Examples/pump.png \
         usr/share/glyphbook/schemas/check.schema.json usr/share/glyphbook/schemas/list.schema.json \
         usr/share/glyphbook/schemas/diff.schema.json \
         usr/share/applications/glyphbook-creator.desktop \
         usr/share/icons/hicolor/64x64/apps/glyphbook-creator.png; do
    if [ ! -s "$dest/$f" ]; then
        echo "check-install: missing /$f"
        missing=1
    fi
done
for f in usr/bin/glyphbook usr/libexec/glyphbook/glyphbook usr/bin/glyphbook-creator; do
    [ -x "$dest/$f" ] || { echo "check-install: /$f is not executable"; missing=1; }
done
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$dest/usr/share/applications/glyphbook-creator.desktop" || missing=1
fi
"$dest/usr/bin/glyphbook" check "$dest/usr/share/glyphbook/Examples/SmallExampleLib.js" > /dev/null ||
    { echo "check-install: the installed tool cannot check the installed example"; missing=1; }
"$dest/usr/bin/glyphbook" pack "$dest/usr/share/glyphbook/Examples/SmallExampleLib.js" "$work/ex.tar.gz" &&
    "$dest/usr/bin/glyphbook" diff "$dest/usr/share/glyphbook/Examples/SmallExampleLib.js" "$work/ex.tar.gz" ||
    { echo "check-install: the installed example and its packed archive differ"; missing=1; }
env -u DISPLAY -u WAYLAND_DISPLAY "$dest/usr/bin/glyphbook" sheet \
    "$dest/usr/share/glyphbook/Examples/SmallExampleLib.js" "$work/sheet.html" > /dev/null ||
    { echo "check-install: the installed tool cannot draw a sheet without a display"; missing=1; }
[ $missing -eq 0 ] && echo "check-install: $(find "$dest" -type f | wc -l) files installed as expected"
exit $missing
