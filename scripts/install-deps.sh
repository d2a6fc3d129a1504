#!/usr/bin/env bash
# Installs every Debian package Quillmark needs to build, run, test and benchmark.
# Safe to run again; elevates with sudo when not run as root.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ ccache pkg-config clang-format
    # program
    qt6-base-dev qt6-base-private-dev libjpeg62-turbo-dev
    # engine component and ladder server (SQLite by default, PostgreSQL through libpqxx)
    libcurl4-openssl-dev libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libsodium-dev
    libpqxx-dev
    libboost1.81-dev  # Beast and Asio, header-only: the ladder server's HTTP
    # the ladder server's command line and configuration file
    libcli11-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev zlib1g-dev xvfb xauth xdotool imagemagick qqwing wrk python3
    # the ladder's front and its deployment checks: nginx, certificates, systemd units
    nginx openssl systemd
    # the standings page in a real browser
    chromium chromium-driver python3-selenium
    # the PostgreSQL server the store tests start in a scratch folder, and a clock moved for
    # one of the servers sharing it
    postgresql libfaketime
    # packaging: the Debian package (dpkg-shlibdeps, file) and the checks of its desktop
    # entry, metainfo and manual pages
    dpkg-dev file desktop-file-utils appstream groff-base
    lintian
    # fonts for a readable board on a bare machine
    fonts-dejavu-core
)

run_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    run_as_root apt-get update
    run_as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
fi
