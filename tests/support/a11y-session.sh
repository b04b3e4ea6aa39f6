#!/usr/bin/env bash
# Runs a test where a screen reader would meet the console: an X display (Xvfb), a D-Bus
# session and the AT-SPI bus, with Qt's bridge to it on.
set -euo pipefail
if [ -z "${ORVANE_A11Y_INSIDE:-}" ]; then
    exec env ORVANE_A11Y_INSIDE=1 xvfb-run -a dbus-run-session -- "$0" "$@"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
trap 'kill $launcher 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
