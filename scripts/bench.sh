#!/usr/bin/env bash
# Runs every benchmark program that the build produced. They print their own figures.
set -euo pipefail
build=${1:-build}
shopt -s nullglob
for b in "$build"/bin/bench_*; do
    echo "== $(basename "$b")"
    "$b"
done
