#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build and the tests need, only those that are missing.
# `setup.sh fuzz` adds what the libFuzzer harnesses need (`make fuzz`); `make test` does not.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools zlib1g-dev
    libisal-dev        # fast inflating and the contact sheet's compression; zlib without it
    qt6-l10n-tools qt6-translations-l10n   # the window's Swedish and German, Qt's own dialogs
    at-spi2-core python3-pyatspi dbus xvfb xauth   # reading the window as a screen reader does
    fonts-liberation   # metric-compatible stand-ins for the preview's label font
    python3 tar gzip   # peers of the archive interoperability tests
    python3-jsonschema # validates the command-line tool's --json output in the tests
    git                # the merge driver's test merges real branches
    rapidjson-dev      # the document benchmark's yardstick; no program uses it
)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang libclang-rt-14-dev)   # libFuzzer and the sanitizer runtimes
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
