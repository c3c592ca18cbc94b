#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-dev clang-format git
    qt6-base-dev qt6-svg-dev libgl-dev libx11-dev qt6-translations-l10n
    libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev libdxflib-dev pkg-config
    fonts-ipafont-mincho fonts-ipafont-gothic
    locales
    xvfb x11-utils imagemagick dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    parallel python3 dpkg-dev help2man lintian desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

# The number-format tests run under a comma-decimal locale and the translated dialogs are
# tested under a Japanese one; each must be generated once.
for wanted in de_DE ja_JP; do
    if ! locale -a 2>/dev/null | grep -qi "^${wanted}\.utf-\?8$"; then
        echo "Generating the ${wanted}.UTF-8 locale for the tests"
        sudo_cmd=""
        [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
        $sudo_cmd sed -i "s/^# *\(${wanted}.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^${wanted}.UTF-8 UTF-8" /etc/locale.gen ||
            echo "${wanted}.UTF-8 UTF-8" | $sudo_cmd tee -a /etc/locale.gen >/dev/null
        $sudo_cmd locale-gen >/dev/null
    fi
done
