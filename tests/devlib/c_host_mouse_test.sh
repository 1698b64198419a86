#!/usr/bin/env bash
# The C host against a simulated mouse daemon.
# Usage: c_host_mouse_test.sh <bin dir> <C host> <library> <scratch dir>
set -euo pipefail
bin=$1
host=$2
library=$3
scratch=$4
mkdir -p "$scratch"
socket="$scratch/mouse.sock"
rm -f "$socket"
"$bin/talwyn-mouse-sim" serve --socket "$socket" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
TALWYN_HID="sim:$socket" "$host" "$library" --with-mouse
