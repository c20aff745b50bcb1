#!/usr/bin/env bash
# Runs a11y_names.py against the editor under a private D-Bus session with the accessibility
# bus and a private X display, in a temporary home; ends only what it started.
set -euo pipefail
editor=$1
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
    XDG_CACHE_HOME=$home/cache XDG_RUNTIME_DIR=$home/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
exec dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    trap "kill $launcher 2>/dev/null" EXIT
    sleep 1
    xvfb-run -a -s "-screen 0 1280x900x24" /usr/bin/python3 "$0" "$1"
' "$here/a11y_names.py" "$editor"
