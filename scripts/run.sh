#!/usr/bin/env bash
# Installs what Nimbrel needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh default
exec ./build/nimbdesk/nimbdesk "$@"
