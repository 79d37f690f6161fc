#!/usr/bin/env bash
# Installs what Nimbrel needs, builds it with warnings as errors and runs every test, then proves that an
# installed Nimbrel can be used by another CMake project.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh default
ctest --preset default
bash scripts/check-install.sh build
