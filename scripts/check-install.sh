#!/usr/bin/env bash
# Installs a build into a temporary prefix and builds a small consumer project against it with
# find_package(Nimbrel): check-install.sh BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
cmake -S tests/consumer -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/consumer" >/dev/null
LD_LIBRARY_PATH="$work/prefix/lib:$work/prefix/lib/x86_64-linux-gnu" "$work/consumer/consumer"
# The command-line program runs from the prefix without LD_LIBRARY_PATH: its RPATH finds the libraries.
"$work/prefix/bin/nimbrel" --version
