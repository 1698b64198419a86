# Sourced by the bench scripts: a private home, runtime folder and X display,
# so nothing of the user's is read or changed, torn down on exit; and the
# helpers both scripts use. The sourcing script sets `root` and `build`, and
# keeps the program it is measuring in `session_pid`; what else it starts for
# the whole run goes into `bench_pids`.

# Builds the optimised targets named.
bench_build() {
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALWYN_BUILD_TESTS=OFF >/dev/null
  fi
  cmake --build "$build" --target "$@" -j2 >/dev/null
}

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# Waits until the program writing `file` has put something in it.
wait_for_line() {
  for _ in $(seq 100); do
    [ -s "$1" ] && break
    sleep 0.05
  done
}

work=$(mktemp -d)
session_pid=
bench_pids=()
bench_cleanup() {
  local status=$? i
  for pid in $session_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  # The display last: what runs on it goes first.
  for ((i = ${#bench_pids[@]} - 1; i >= 0; i--)); do
    kill "${bench_pids[i]}" 2>/dev/null || true
    wait "${bench_pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
  exit "$status"
}
trap bench_cleanup EXIT
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
bench_pids+=($!)
wait_for_line "$work/display"
export DISPLAY=:$(head -n1 "$work/display")
