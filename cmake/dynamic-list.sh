#!/bin/sh
# The symbols a module takes from the program that loads it, as a dynamic list for that
# program's link: it exports those and no others.
#   cmake/dynamic-list.sh MODULE LIST
set -e
{
    echo "{"
    nm -D --undefined-only "$1" | awk '{ sub(/@.*/, "", $2); print "  " $2 ";" }' | sort -u
    echo "};"
} > "$2.new"
mv "$2.new" "$2"
