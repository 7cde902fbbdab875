# Sourced by the scripts that test the Windows build under wine: a fresh wine prefix in a
# temporary folder whose COM port table points at the virtual Yardmark, the virtual Yardmark
# itself with its console, a virtual display, counted checks and the clean-up of all of it.
# The sourcing script sets `root` (the repository) and `started` (date +%s) first.

find_tool() { # name, then the place Debian's wine64 package keeps it off the PATH
  command -v "$1" 2>/dev/null || { [ -x "$2" ] && echo "$2"; } || { echo "no $1" >&2; exit 1; }
}
wine=$(find_tool wine64 /usr/lib/wine/wine64)
wineserver=$(find_tool wineserver /usr/lib/wine/wineserver)

# The virtual Yardmark runs on this machine: the release build's own.
build_sim() {
  echo "=== the virtual Yardmark (build/release) ==="
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)" --target yardmark-sim
  sim=$root/build/release/sim/yardmark-sim
}

work=$(mktemp -d /tmp/quillon-wine.XXXXXX)
link=$work/ttyKV7
sim_pid=
xvfb_pid=
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# QUILLON_KEEP_WORK=1 keeps the prefix and the device's files for a look afterwards.
cleanup() {
  [ -d "$WINEPREFIX" ] && { "$wineserver" -k 2>/dev/null || true; "$wineserver" -w 2>/dev/null || true; }
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  exec 3>&- 2>/dev/null || true
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  [ -n "${QUILLON_KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() { # description, then the command whose success is the check
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "[  OK  ] $what"
  else failed=$((failed + 1)); echo "[ FAIL ] $what"; fi
}
finish() { # the closing lines; the exit status says whether every check passed
  echo "$(basename "$0") took $(( $(date +%s) - started )) s"
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
  exit
}

# The windows need a display: a virtual one, whose number Xvfb picks and writes to fd 5.
start_display() {
  Xvfb -displayfd 5 -screen 0 1024x768x24 5> "$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display")"
}

# Wine's services, started again so that they read the COM port table, and one server for
# every run after this, started here so that none of them holds on to a test run's output.
restart_wine() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w
  "$wineserver" -p 2>/dev/null
  "$wine" wineboot >/dev/null 2>&1
}

# A fresh prefix whose port COMn is the device's cable. Every other port of the table points
# at an empty directory, which no program can open as a port: otherwise wine would hand the
# machine's own serial ports (/dev/ttyS*) to the first free COM numbers and discovery would
# meet them. Further lines of a .reg file may follow on stdin.
make_prefix() { # n
  echo "=== wine prefix $WINEPREFIX ==="
  "$wine" wineboot -i >/dev/null 2>&1
  "$wineserver" -w
  mkdir -p "$work/no-port"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    for n in $(seq 1 32); do
      target=$work/no-port
      [ "$n" -eq "$1" ] && target=$link
      printf '"COM%d"="%s"\r\n' "$n" "$target"
    done
    cat
  } > "$work/prefix.reg"
  "$wine" reg import "$work/prefix.reg" >/dev/null 2>&1
  restart_wine
}

start_sim() { # options for the device
  rm -f "$work/sim.in" "$work/sim.out"
  mkfifo "$work/sim.in"
  "$sim" --link "$link" "$@" < "$work/sim.in" > "$work/sim.out" 2> "$work/sim.err" &
  sim_pid=$!
  exec 3> "$work/sim.in"
  for _ in $(seq 1 100); do
    [ -s "$work/sim.out" ] && return 0
    sleep 0.1
  done
  echo "the virtual Yardmark did not start:" >&2
  cat "$work/sim.err" >&2
  exit 1
}

stop_sim() {
  echo quit >&3
  exec 3>&-
  wait "$sim_pid" || true
  sim_pid=
}

# Data and addresses only: the device keeps no execution start address.
same_data() { cmp -s <(srec_cat "$1" -motorola -o - -ascii-hex) <(srec_cat "$2" -motorola -o - -ascii-hex); }
