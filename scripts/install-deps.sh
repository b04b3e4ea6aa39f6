#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orvane need, where missing.
#   scripts/install-deps.sh [PACKAGE...]   also these (the Windows build names its own)
set -euo pipefail

packages=(
    cmake g++ make
    # Builds again compile only what changed: the cache lives in ~/.cache, as Qt for Windows does.
    ccache
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
    # The frequency memories: SQLite.
    libsqlite3-dev
    # Fitting the tuner's parts: Eigen's Levenberg–Marquardt (headers only, for Windows too).
    libeigen3-dev
    # The web page: served by Qt HttpServer, kept live over Qt WebSockets.
    qt6-httpserver-dev qt6-websockets-dev
    # lrelease compiles the English texts at build time; Qt's own texts in Russian.
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    # Captions are Russian: fonts with Cyrillic glyphs, Arial-like metrics first.
    fonts-liberation2 fonts-dejavu-core
    # The tests run a real rigctld (the dummy rig) and drop to an unprivileged user.
    libhamlib-utils util-linux
    # The benchmark clicks as a mouse does, through the X server's test extension.
    libxtst-dev
    # The accessibility test runs where a screen reader would: an X display, a D-Bus session
    # and the AT-SPI bus.
    xvfb xauth dbus at-spi2-core
    # The web page's test drives a real browser.
    chromium chromium-driver
    # The Debian package and its checks.
    dpkg-dev file desktop-file-utils appstream lintian
    # The control port's certificate is made with the openssl command.
    openssl
    # The station's MQTT bus: Mosquitto's client library; the tests run its broker and its
    # clients, and check Home Assistant's documents with a JSON Schema validator.
    libmosquitto-dev mosquitto mosquitto-clients python3-jsonschema
    # Antennas computed by NEC-2 and Touchstone files read by scikit-rf check the measured
    # antenna against physics no one here wrote.
    nec2c python3-scikit-rf python3-numpy
)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
