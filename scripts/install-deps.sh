#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Nimbrel needs.
# Safe to run again: apt-get skips what is already there. Run as root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git ccache zlib1g-dev
    clang libclang-rt-dev llvm
    clang-format
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev qt6-tools-dev qt6-l10n-tools
    libcurl4-openssl-dev ca-certificates tzdata
    nlohmann-json3-dev libcpp-httplib-dev libssl-dev libbrotli-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    weather-util-data
    xvfb xauth
    dpkg-dev file appstream desktop-file-utils lintian
    dbus
    libspeechd-dev
)

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps.sh: run as root (apt-get installs packages)" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"
