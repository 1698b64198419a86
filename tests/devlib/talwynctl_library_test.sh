#!/usr/bin/env bash
# talwynctl's library commands end to end: the tool loads Talwyn_pro_dll.so
# from its folder and drives a simulated mouse daemon through it.
# Usage: talwynctl_library_test.sh <bin dir> <scratch dir>
set -euo pipefail
bin=$1
scratch=$2
mkdir -p "$scratch"
socket="$scratch/mouse.sock"
rm -f "$socket"
# The kernel ends the mouse with this script, also when the script is killed.
setpriv --pdeathsig KILL "$bin/talwyn-mouse-sim" serve --socket "$socket" --log "$scratch/wire.log" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
trap 'exit 1' INT TERM
for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
export TALWYN_HID="sim:$socket"
ctl() { "$bin/talwynctl" "$@"; }
sim_ctl() { "$bin/talwyn-mouse-sim" ctl --socket "$socket" "$@" >/dev/null; }
fail() { echo "FAIL: $*" >&2; exit 1; }
expect_eq() { [ "$1" == "$2" ] || fail "$3: got '$1', expected '$2'"; }

expect_eq "$(ctl info)" '{"bootloader":100,"deviceStatus":1,"firmware":105,"library":10}' "info"

ctl set polling-rate 3 500
grep -q "set_feature .* a10d010000030200" "$scratch/wire.log" || fail "polling-rate report not on the wire"

# Out of range: refused before anything is sent, exit 1.
lines=$(wc -l < "$scratch/wire.log")
if ctl set polling-rate 3 300 2>"$scratch/err"; then fail "rate 300 accepted"; fi
grep -q "300 Hz" "$scratch/err" || fail "no clear message for rate 300"
if ctl set lod 6 1 2>/dev/null; then fail "profile 6 accepted"; fi
expect_eq "$(wc -l < "$scratch/wire.log")" "$lines" "reports sent for refused arguments"

# A status failure prints the export's status and exits 1.
sim_ctl fault busy 4
if ctl set lod 1 1 2>"$scratch/err"; then fail "busy mouse reported success"; fi
grep -q "Set_lod failed with status 20" "$scratch/err" || fail "status code not printed: $(cat "$scratch/err")"

ctl set dpi 2 1 5 400 800 1600 3200 6400 0 0 0 0 7
ctl set lighting 2 5 0102030405060708090a0b0c0d0e0f101112131415161718 50 1 2
ctl set button 2 4 19 0 9 --event 0x12:0x41:0:20 --event 0x12:0x41:1:0
profile=$(ctl read-profile 2)
echo "$profile" | grep -q '"pollingRate": 1000' || fail "read-profile rate"
echo "$profile" | grep -q '"colors": "0102030405060708090a0b0c0d0e0f101112131415161718"' || fail "read-profile colours"
echo "$profile" | tr -d ' \n' | grep -q '"values":\[400,800,1600,3200,6400,0,0,0,0,7\]' || fail "read-profile dpi"
echo "$profile" | tr -d ' \n' | grep -q '"eventCount":2,"events":\[{"delay":20,"key":65' || fail "read-profile macro"
echo "$profile" | tr -d ' \n' | grep -q '"dataLengths":\[0,0,0,0,0,0\]' || fail "read-profile lengths"

ctl current-profile 4
expect_eq "$(ctl current-profile)" "4" "current-profile"
expect_eq "$(ctl profiles count)" "5" "profiles count"
ctl copy-profile 2 5
ctl reset-profile 2
ctl sync-profile 6
ctl reset-factory
expect_eq "$(ctl current-profile)" "1" "current-profile after factory reset"

# Events: one JSON line per callback (the mouse queues its reports until read).
sim_ctl press dpi
sim_ctl press dpi
ctl events --count 2 > "$scratch/events"
expect_eq "$(wc -l < "$scratch/events")" "2" "event lines"
grep -qx '{"code":2,"data":[0-4],"length":1}' "$scratch/events" || fail "event line: $(head -1 "$scratch/events")"

# Device changes: one JSON line per callback. Notices are sent until the
# listener, which only sees notices after it started, has printed its line.
listen_once() {
    ctl listen --count 1 > "$scratch/changes" &
    local listener=$!
    for _ in $(seq 100); do
        kill -0 $listener 2>/dev/null || break
        sim_ctl notify "$1" '\\?\hid#vid_3282&pid_0003&mi_00#1'
        sim_ctl notify "$1" "$2"
        sleep 0.1
    done
    wait $listener
    cat "$scratch/changes"
}
expect_eq "$(listen_once arrival '\\?\HID#VID_3282&PID_0003&MI_00#1')" '{"change":1}' "arrival"
expect_eq "$(listen_once removal '\\?\HID#VID_3282&PID_0004#1')" '{"change":255}' "removal"

# Firmware update: progress on stderr, the version on stdout.
head -c 2048 /dev/urandom > "$scratch/image.bin"
expect_eq "$(ctl firmware-update "$scratch/image.bin" 2>"$scratch/progress")" "105" "firmware version"
grep -q "100%" "$scratch/progress" || fail "no progress bar"
head -c 102401 /dev/zero > "$scratch/big.bin"
if ctl firmware-update "$scratch/big.bin" 2>/dev/null; then fail "oversized image accepted"; fi
echo "talwynctl library commands: all checks passed"
