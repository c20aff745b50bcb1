#!/usr/bin/env bash
# Runs every benchmark program that the build produced. They print their own figures.
# The archive and sheet benchmarks run once more on libraries made from a Debian icon theme of
# small PNG pictures (installed here when missing), as real libraries are.
set -euo pipefail
build=${1:-build}
theme_package=adwaita-icon-theme
theme=/usr/share/icons/Adwaita
shopt -s nullglob
echo "load: $(uptime)"
for b in "$build"/bin/bench_*; do
    echo "== $(basename "$b")"
    "$b"
done

if ! dpkg-query -W -f='${Status}' "$theme_package" 2>/dev/null | grep -q '^install ok installed'; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$theme_package"
fi
icons="$build/bench-data/icon-library"
mkdir -p "$icons"
if [ ! -f "$icons/icons.js" ]; then
    python3 "$(dirname "$0")/make_icon_library.py" "$theme" "$icons/icons.js" "$icons/files.txt"
    "$build/bin/glyphbook" format "$icons/icons.js" "$icons/icons.js"
fi
echo "== bench_pack on the icon theme's library"
"$build/bin/bench_pack" "$icons/icons.js" "$icons/files.txt"
if [ ! -f "$icons/icons5000.js" ]; then
    python3 "$(dirname "$0")/make_icon_library.py" "$theme" "$icons/icons5000.js" "$icons/files.txt" 5000
    "$build/bin/glyphbook" format "$icons/icons5000.js" "$icons/icons5000.js"
fi
echo "== bench_sheet on 5,000 symbols of the icon theme"
"$build/bin/bench_sheet" "$icons/icons5000.js"
echo "load: $(uptime)"
