#!/usr/bin/env bash
# The Windows console under Wine against the Linux virtual controller. Wine's COM1 is a
# pseudo-terminal whose other end orvane-sim reads, in a Wine prefix of this test's own: a
# click must put its exact packet on the line and a recall its three, and so must a recall asked
# of the console without a screen through its control port. Then the installer runs
# silently, the installed console starts, and the uninstaller leaves the operator's conf.cfg.
#   tests/windows/endtoend.sh WINDOWS_BUILD HOST_BUILD SETUP_EXE
set -euo pipefail
build=$(realpath "$1")
host=$(realpath "$2")
setup=$(realpath "$3")

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-wine.XXXXXX")
pids=()
cleanup() {
    wineserver -k 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "endtoend: $*" >&2
    [ -f "$work/console.out" ] && sed 's/^/  console: /' "$work/console.out" >&2
    if [ -n "${DISPLAY:-}" ]; then
        mkdir -p "$build/screens"
        import -window root "$build/screens/windows-failure.png" 2>/dev/null &&
            echo "endtoend: the screen is in $build/screens/windows-failure.png" >&2
    fi
    [ -f "$work/line.jsonl" ] && sed 's/^/  line: /' "$work/line.jsonl" >&2
    exit 1
}

# Waits up to $2 seconds for the command $1 to succeed.
within() {
    local deadline=$(($(date +%s) + $2))
    until eval "$1"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x700x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
within "[ -e /tmp/.X11-unix/X${display#:} ]" 10 ||
    fail "no X display"
wineboot -i >/dev/null 2>&1

# The virtual controller on a pseudo-terminal, mapped as COM1.
"$host/bin/orvane-sim" --headless --log "$work/line.jsonl" >"$work/sim.out" &
pids+=($!)
within "[ -s '$work/sim.out' ]" 10 || fail "the simulator did not start"
pts=$(head -1 "$work/sim.out")
# Wine's mount manager remakes dosdevices/com1 from its registry whenever it starts, so the
# mapping goes there, and the link it makes is checked.
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$pts" /f >/dev/null 2>&1
wineserver -w
ln -sfn "$pts" "$WINEPREFIX/dosdevices/com1"

# A program folder whose conf.cfg names port 1, steps of 10 pF and 500 nH, the last slot saved
# 160 m, sub-band 1 (C 5, L 6, transmitter side) and 80 m, sub-band 1 (C 20, L 30, antenna side).
put() { printf "$2" | dd of="$work/program/conf.cfg" bs=1 seek="$1" conv=notrunc status=none; }
cp -r "$build/bin" "$work/program"
head -c 458 /dev/zero >"$work/program/conf.cfg"
put 0 '\x05\x06\x00'
put 15 '\x14\x1e\x01'
put 454 '\x01\x0a\xf4\x01'

# The window's title, in Russian or in English.
title='антенного тюнера|Antenna tuner relay block'
packets() { grep -c '"hex"' "$work/line.jsonl" 2>/dev/null || true; }
last() { grep -o '"hex": "[0-9A-F]*"' "$work/line.jsonl" | tail -n "$1" | cut -d'"' -f4 | paste -sd' '; }

wine "$work/program/orvane.exe" >"$work/console.out" 2>&1 &
pids+=($!)
disown
window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -1) ||
    fail "the console's window did not appear"
[ "$(readlink "$WINEPREFIX/dosdevices/com1")" = "$pts" ] || fail "COM1 is not the pseudo-terminal"
# Whatever the start-up sends has gone out by then.
sleep 3
before=$(packets)

# The lowest C relay: 5 becomes 4.
xdotool mousemove --window "$window" 396 28 click 1
within "[ \"\$(packets)\" -ge $((before + 1)) ]" 10 || fail "a click sent nothing"
sleep 0.5
[ "$(packets)" -eq $((before + 1)) ] || fail "a click sent more than its packet"
[ "$(last 1)" = "AA55010104000D0A00" ] || fail "a click sent $(last 1)"

# 80 m: its slot, three packets.
xdotool mousemove --window "$window" 132 400 click 1
within "[ \"\$(packets)\" -ge $((before + 4)) ]" 10 || fail "a recall did not send three packets"
sleep 0.5
[ "$(packets)" -eq $((before + 4)) ] || fail "a recall sent more than three packets"
expected="AA55010114000D0A00 AA5501021E000D0A00 AA55010301000D0A00"
[ "$(last 3)" = "$expected" ] || fail "a recall sent $(last 3)"

mkdir -p "$build/screens"
sleep 0.5
import -window root "$build/screens/windows-console.png"
# Closed as the operator would, so its hold on conf.cfg goes with it.
wine taskkill /im orvane.exe >/dev/null 2>&1
within "! pgrep -f 'program/orvane.exe' >/dev/null" 20 || fail "the console did not close"
echo "endtoend: a click and a recall went through Wine's COM1 byte for byte"

# Without a screen: a client of the control port recalls the same slot through COM1.
control=$((47000 + RANDOM % 1000))
wine "$work/program/orvane.exe" --headless --control "$control" >"$work/console.out" 2>&1 &
disown
ctl() { "$host/bin/orvane-ctl" -H "127.0.0.1:$control" "$@"; }
within "ctl '\\get_state' >/dev/null 2>&1" 30 || fail "the headless console's control port did not answer"
before=$(packets)
ctl '\recall 1 80m 1' >/dev/null || fail "the control port refused a recall"
within "[ \"\$(packets)\" -ge $((before + 3)) ]" 10 || fail "a recall by the control port sent nothing"
sleep 0.5
[ "$(last 3)" = "$expected" ] && [ "$(packets)" -eq $((before + 3)) ] ||
    fail "a recall by the control port sent $(last 3)"
wineserver -k
echo "endtoend: the console without a screen took a recall from its control port"

# On a real mosquitto here: a recall published on the console's command topic, and mqtts://
# refused with its reason (this build has no TLS).
broker=$((48000 + RANDOM % 1000))
printf 'persistence false\nlog_dest none\nallow_anonymous true\nlistener %s 127.0.0.1\n%s' \
    "$broker" "$([ "$(id -u)" -eq 0 ] && echo 'user root')" >"$work/mosquitto.conf"
mosquitto -c "$work/mosquitto.conf" 2>"$work/mosquitto.err" &
# Wine gives the next process the killed one's number, so its lock would look held.
rm -f "$work/program/conf.cfg.lock"
broker_pid=$!
wine "$work/program/orvane.exe" --headless --control off --mqtt "mqtt://127.0.0.1:$broker/win" \
    >"$work/mqtt.out" 2>&1 &
disown
online() { [ "$(mosquitto_sub -p "$broker" -t win/status -C 1 -W 2 2>/dev/null)" = online ]; }
within online 30 || { kill "$broker_pid"; fail "the console did not come online on the broker"; }
before=$(packets)
mosquitto_pub -p "$broker" -t win/cmd -m '\recall 1 80m 1'
within "[ \"\$(packets)\" -ge $((before + 3)) ]" 10 || { kill "$broker_pid"; fail "a recall over MQTT sent nothing"; }
sleep 0.5
[ "$(last 3)" = "$expected" ] || { kill "$broker_pid"; fail "a recall over MQTT sent $(last 3)"; }
wineserver -k
kill "$broker_pid"
within "! pgrep -f 'program/orvane.exe' >/dev/null" 20 || fail "the console did not end"
rm -f "$work/program/conf.cfg.lock"
wine "$work/program/orvane.exe" --headless --control off --mqtt "mqtts://127.0.0.1:$broker/win" \
    >"$work/mqtts.out" 2>&1 || true
grep -q "TLS" "$work/mqtts.out" || fail "mqtts:// was not refused with its reason: $(cat "$work/mqtts.out")"
wineserver -k
echo "endtoend: a recall came over MQTT; mqtts:// is refused with its reason"

# The installer, silently; the installed console; the uninstaller.
installed="$WINEPREFIX/drive_c/Program Files/Orvane"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orvane"
wine "$setup" /S
within "[ -f '$installed/orvane.exe' ] && [ -f '$installed/orvane-sim.exe' ]" 60 ||
    fail "the installer did not install the programs"
[ -f "$menu/Orvane.lnk" ] || fail "no Start-menu entry"
cp "$work/program/conf.cfg" "$installed/conf.cfg"
wine "$installed/orvane.exe" >"$work/installed.out" 2>&1 &
disown
# xdotool gives up with BadWindow when a window it is looking at closes meanwhile (Wine's
# short-lived ones do): look again, within the same minute.
within "xdotool search --onlyvisible --name '$title' >/dev/null 2>&1" 60 ||
    fail "the installed console did not start"
wineserver -k
wine "$installed/uninstall.exe" /S
# It runs from a copy of itself in the background: done when its own file is gone.
within "[ ! -e '$installed/uninstall.exe' ]" 60 || fail "the uninstaller did not finish"
wineserver -w
[ ! -e "$installed/orvane.exe" ] || fail "the uninstaller left the console"
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu entry"
[ -f "$installed/conf.cfg" ] || fail "the uninstaller took the operator's conf.cfg"
echo "endtoend: installed silently, started, uninstalled; conf.cfg kept"
