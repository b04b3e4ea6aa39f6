#!/usr/bin/env bash
# Builds Qt's base module, static, for 64-bit Windows from Debian's own source package, once:
# the result stays in the cache folder and later runs only check it is there.
#   scripts/windows-qt.sh PREFIX
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$1
# The very version whose host tools (moc, rcc, uic) the build uses.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
if [ -f "$prefix/.complete" ]; then
    exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT

bash scripts/debian-source.sh qt6-base "$version" "$work"

# What the trial found to build in one pass; everything Orvane does not use is off.
features=(sql dbus concurrent printsupport vulkan opengl dynamicgl tabletevent openssl)
bundled=(zlib pcre2 freetype harfbuzz png jpeg doubleconversion)
options=()
for feature in "${features[@]}"; do options+=("-DFEATURE_$feature=OFF"); done
for library in "${bundled[@]}"; do options+=("-DFEATURE_system_$library=OFF"); done
cmake -S "$work/source" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF "${options[@]}" >"$work/configure.log" ||
    { tail -40 "$work/configure.log"; exit 1; }
cmake --build "$work/build" --parallel "$(nproc)"
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null
touch "$prefix/.complete"
