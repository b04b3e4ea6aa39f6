#!/usr/bin/env bash
# Builds Mosquitto's client library, static, for 64-bit Windows from Debian's own source
# package, once: the result stays in the cache folder and later runs only check it is there.
# It is built without TLS (there is no OpenSSL for MinGW here), so mqtts:// is refused there.
#   scripts/windows-mosquitto.sh PREFIX
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$1
# The very version the Linux build links, from the same source package.
version=$(dpkg-query -W -f='${source:Version}' libmosquitto-dev)
if [ -f "$prefix/.complete" ]; then
    exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-mosquitto.XXXXXX")
trap 'rm -rf "$work"' EXIT

bash scripts/debian-source.sh mosquitto "$version" "$work"

# The library's own sources, as its Makefile takes them: no threads of its own (the console
# drives it from its event loop), no TLS, no SOCKS, no SRV lookups.
mkdir -p "$work/objects"
for source in "$work"/source/lib/*.c; do
    x86_64-w64-mingw32-gcc-posix -O2 -DLIBMOSQUITTO_STATIC \
        -I"$work/source" -I"$work/source/include" -I"$work/source/lib" -I"$work/source/deps" \
        -c "$source" -o "$work/objects/$(basename "$source" .c).o" 2>>"$work/compile.log" ||
        { tail -40 "$work/compile.log"; exit 1; }
done
x86_64-w64-mingw32-ar rcs "$work/libmosquitto.a" "$work"/objects/*.o
rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include"
cp "$work/libmosquitto.a" "$prefix/lib/"
cp "$work/source/include/mosquitto.h" "$work/source/include/mqtt_protocol.h" "$prefix/include/"
touch "$prefix/.complete"
