#!/usr/bin/env bash
# Builds Orvane for 64-bit Windows, tests it under Wine and packages it. Installs what is
# missing. The first run builds Qt for Windows from Debian's source package into a cache
# outside the checkout (about 50 minutes on 2 cores); later runs reuse it.
#   build-windows/bin                        orvane.exe, orvane-sim.exe, orvane-ctl.exe, its
#                                            helpers orvane-guard.exe and orvane-mqtt.exe, the
#                                            pictures and the guide: the portable folder
#   build-windows/orvane-VERSION-setup.exe   the installer
#   build-windows/orvane-VERSION-windows.zip the portable folder, zipped
#   ORVANE_WINDOWS_QT=DIR  where Qt for Windows is kept
#   ORVANE_WINDOWS_SQLITE=DIR  where SQLite for Windows is kept
#   ORVANE_WINDOWS_TESTS=0 build and package only
#   ORVANE_HOST_BUILD=DIR  a build for this machine to take orvane-sim and the pictures from
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 nsis ninja-build xdotool \
    imagemagick zip tcl

step() {
    local name=$1
    shift
    local start
    start=$(date +%s)
    "$@"
    echo "windows: $name took $(($(date +%s) - start)) s"
}

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/[+~-].*//')
qt=${ORVANE_WINDOWS_QT:-$HOME/.cache/orvane/qt-$qt_version-x86_64-w64-mingw32}
step "Qt for Windows" bash scripts/windows-qt.sh "$qt"
sqlite_version=$(dpkg-query -W -f='${source:Version}' libsqlite3-dev | sed 's/[+~-].*//')
sqlite=${ORVANE_WINDOWS_SQLITE:-$HOME/.cache/orvane/sqlite-$sqlite_version-x86_64-w64-mingw32}
step "SQLite for Windows" bash scripts/windows-sqlite.sh "$sqlite"
mosquitto_version=$(dpkg-query -W -f='${source:Version}' libmosquitto-dev | sed 's/[+~-].*//')
mosquitto=${ORVANE_WINDOWS_MOSQUITTO:-$HOME/.cache/orvane/mosquitto-$mosquitto_version-x86_64-w64-mingw32}
step "Mosquitto's library for Windows" bash scripts/windows-mosquitto.sh "$mosquitto"

# What runs on this machine: the pictures' painter and the Linux simulator at the far end.
host=${ORVANE_HOST_BUILD:-build-windows-host}
host_build() {
    if [ -x "$host/bin/orvane-sim" ] && [ -x "$host/bin/orvane-ctl" ] && [ -f "$host/bin/img/HotEnd.jpg" ]; then
        return
    fi
    cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF >/dev/null
    cmake --build "$host" --target network_pictures orvane-sim orvane-ctl
}
step "the host's tools" host_build

build=build-windows
cross_build() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_WERROR=ON \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_EXE_LINKER_FLAGS=-static -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
        -DSQLite3_INCLUDE_DIR="$sqlite/include" -DSQLite3_LIBRARY="$sqlite/lib/libsqlite3.a" \
        -DMOSQUITTO_INCLUDE_DIR="$mosquitto/include" \
        -DMOSQUITTO_LIBRARY="$mosquitto/lib/libmosquitto.a" \
        -DORVANE_HOST_PICTURES="$root/$host/bin/img" >/dev/null
    cmake --build "$build"
    x86_64-w64-mingw32-strip "$build"/bin/*.exe
}
step "the Windows build" cross_build

version=$(sed -n 's/^project(Orvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
package() {
    makensis -V2 -DVERSION="$version" -DSOURCE="$root/$build/bin" \
        -DOUTFILE="$root/$build/orvane-$version-setup.exe" packaging/windows/orvane.nsi
    rm -f "$build/orvane-$version-windows.zip"
    (cd "$build/bin" && zip -qr "$root/$build/orvane-$version-windows.zip" \
        orvane.exe orvane-sim.exe orvane-ctl.exe orvane-guard.exe orvane-mqtt.exe img \
        guide.html guide.ru.html)
}
step "the installer and the zip" package

if [ "${ORVANE_WINDOWS_TESTS:-1}" = "0" ]; then
    exit 0
fi
unit_tests() {
    # A prefix of the suites' own; no prompts for Mono or Gecko, which nothing here needs.
    export WINEPREFIX=$root/$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wineboot -i >/dev/null 2>&1
    ctest --test-dir "$build" --output-on-failure
    wineserver -k 2>/dev/null || true
}
step "the unit suites under Wine" unit_tests
step "the console under Wine" bash tests/windows/endtoend.sh "$build" "$host" \
    "$build/orvane-$version-setup.exe"
