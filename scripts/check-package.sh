#!/usr/bin/env bash
# Builds the Debian packages from a build folder, checks them and the desktop metadata, installs the package into
# this machine and starts the installed programs: check-package.sh [BUILD_DIR] (default: build). Run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake --build "$build"
rm -f "$build"/nimbrel*.deb
(cd "$build" && cpack -G DEB)

# Errors fail the check; warnings are printed for whoever reads the log.
lintian --fail-on error "$build"/nimbrel*_amd64.deb
appstreamcli validate --no-net nimbdesk/io.github.nimbrel.Nimbrel.metainfo.xml
desktop-file-validate nimbdesk/nimbrel.desktop

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q "./$build"/nimbrel_*_amd64.deb
/usr/bin/nimbdesk --version
if [ -x /usr/bin/nimbrel ]; then
    /usr/bin/nimbrel --version
fi
