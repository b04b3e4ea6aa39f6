#!/usr/bin/env bash
# Builds the Debian package the way Debian builds (Release, with its hardening flags), then
# checks it and the installed tree: the desktop entry, the AppStream metadata, lintian, the
# package's files, and an installed console started offscreen. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build-package
id=org.orvane.Orvane
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_MODULE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/orvane_*.deb)

echo "== desktop-file-validate"
desktop-file-validate "packaging/$id.desktop"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "packaging/$id.metainfo.xml"
echo "== lintian"
lintian --allow-root --fail-on error,warning \
    --suppress-tags-from-file packaging/lintian-accepted-tags --display-info "$deb"

expected=(
    usr/bin/orvane
    usr/bin/orvane-sim
    usr/bin/orvane-ctl
    usr/lib/x86_64-linux-gnu/orvane/orvane-web.so
    usr/share/man/man1/orvane-ctl.1.gz
    usr/lib/systemd/system/orvane.service
    usr/share/orvane/img/HotEnd.jpg
    usr/share/orvane/img/ColdEnd.jpg
    "usr/share/applications/$id.desktop"
    "usr/share/icons/hicolor/scalable/apps/$id.svg"
    "usr/share/metainfo/$id.metainfo.xml"
    usr/share/man/man1/orvane.1.gz
    usr/share/man/man1/orvane-sim.1.gz
    usr/share/doc/orvane/copyright
    usr/share/doc/orvane/guide.html
)
echo "== dpkg-deb -c"
contents=$(dpkg-deb -c "$deb")
for file in "${expected[@]}"; do
    grep -q " \./$file\$" <<<"$contents" || { echo "missing from the package: $file"; exit 1; }
done
dpkg-deb -f "$deb" Section | grep -qx hamradio

echo "== the installed tree"
scratch=$(mktemp -d)
trap 'kill "${console:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
for file in "${expected[@]}"; do
    [ -e "$scratch/prefix/${file#usr/}" ] || { echo "missing from the install: $file"; exit 1; }
done
# Started offscreen with a home of its own, it shows its window, keeps conf.cfg per user and
# finds its pictures; without them it says which one it missed.
start() {
    mkdir -p "$scratch/home"
    env -u DISPLAY HOME="$scratch/home" XDG_DATA_HOME= XDG_CONFIG_HOME= \
        "$scratch/prefix/bin/orvane" -platform offscreen 2>"$scratch/said" &
    console=$!
    for _ in $(seq 100); do
        grep -q "Com-" "$scratch/said" 2>/dev/null && break
        sleep 0.1
    done
    sleep 0.5
    kill -0 "$console"
    kill "$console"
    wait "$console" 2>/dev/null || true
}
start
[ -f "$scratch/home/.local/share/Orvane/Orvane/conf.cfg" ] || { echo "no per-user conf.cfg"; exit 1; }
[ ! -e "$scratch/prefix/bin/conf.cfg" ] || { echo "conf.cfg written beside the program"; exit 1; }
if grep -q "picture" "$scratch/said"; then cat "$scratch/said"; exit 1; fi
# The page's module is found where the package puts it.
port=$((40000 + RANDOM % 20000))
env -u DISPLAY HOME="$scratch/home" XDG_DATA_HOME= XDG_CONFIG_HOME= \
    "$scratch/prefix/bin/orvane" -platform offscreen --web "$port" 2>"$scratch/web" &
console=$!
served=no
for _ in $(seq 100); do
    if { exec 3<>"/dev/tcp/127.0.0.1/$port"; } 2>/dev/null; then
        printf 'GET /login HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n' >&3
        head -n 1 <&3 | grep -q " 200 " && served=yes
        exec 3<&-
        break
    fi
    sleep 0.1
done
kill "$console"
wait "$console" 2>/dev/null || true
[ "$served" = yes ] || { echo "the installed console served no page"; cat "$scratch/web"; exit 1; }
rm "$scratch/prefix/share/orvane/img/ColdEnd.jpg"
start
grep -q "picture img/ColdEnd.jpg not found" "$scratch/said" || { echo "a missing picture went unnoticed"; exit 1; }
echo "Package $deb checked."
