#!/usr/bin/env bash
# Builds SQLite, static, for 64-bit Windows from Debian's own source package, once: the
# result stays in the cache folder and later runs only check it is there.
#   scripts/windows-sqlite.sh PREFIX
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$1
# The very version the Linux build links, from the same source package.
version=$(dpkg-query -W -f='${source:Version}' libsqlite3-dev)
if [ -f "$prefix/.complete" ]; then
    exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-sqlite.XXXXXX")
trap 'rm -rf "$work"' EXIT

bash scripts/debian-source.sh sqlite3 "$version" "$work"

# The amalgamation is made here by the source's own tools (tclsh among them); then the one
# file is compiled for Windows: no shell, no Tcl binding, no extensions loaded.
(cd "$work/source" && ./configure --disable-tcl --disable-readline >"$work/configure.log" 2>&1) ||
    { tail -40 "$work/configure.log"; exit 1; }
make -C "$work/source" -j"$(nproc)" sqlite3.c sqlite3.h >"$work/make.log" 2>&1 ||
    { tail -40 "$work/make.log"; exit 1; }
x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_OS_WIN=1 -DSQLITE_THREADSAFE=1 \
    -DSQLITE_OMIT_LOAD_EXTENSION=1 -DSQLITE_ENABLE_MATH_FUNCTIONS=1 \
    -c "$work/source/sqlite3.c" -o "$work/sqlite3.o"
x86_64-w64-mingw32-ar rcs "$work/libsqlite3.a" "$work/sqlite3.o"
rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include"
cp "$work/libsqlite3.a" "$prefix/lib/"
cp "$work/source/sqlite3.h" "$prefix/include/"
touch "$prefix/.complete"
