#!/bin/sh
# The launcher of an installed, read-only program folder, run by a user without a usable
# home: it must still start the wizard from a folder the user can write, and when it cannot
# start it at all it must say why instead of leaving a shell message nobody sees.
#   launcher_test.sh LAUNCHER
set -eu
launcher=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
chmod 755 "$root"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The program folder: a stand-in wizard that writes down the folder it was started in.
program=$root/lib/quillon
mkdir -p "$program"
cp "$launcher" "$program/quillon-run"
# shellcheck disable=SC2016 # the stand-in expands it, and $PASHR is text
{
  printf '#!/bin/sh\npwd >"$STARTED_IN"\n' >"$program/quillon"
  printf 'Release 4\r\n1.0\r\nfirmware.mot\r\n$PASHR,VER,GPS,2.0.00\r\n30\r\n' >"$program/Orbfix.dat"
}
echo S0030000FC >"$program/firmware.mot"
chmod 755 "$program/quillon-run" "$program/quillon"

# A read-only program folder, as installed. Root writes anywhere, so it runs as nobody.
chmod 555 "$program"
user=
if [ "$(id -u)" -eq 0 ]; then
  user="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
mkdir -p "$root/run" "$root/tmp"
chmod 1777 "$root/tmp"
[ -z "$user" ] || chown 65534 "$root/run"

# Runs the launcher with only the environment given; prints the folder the wizard started in.
launch() {
  : >"$root/started"
  chmod 666 "$root/started"
  status=0
  # shellcheck disable=SC2086 # $user is a command with its options, or nothing
  env -i PATH=/usr/bin:/bin STARTED_IN="$root/started" TMPDIR="$root/tmp" "$@" \
    $user "$program/quillon-run" 2>"$root/stderr" || status=$?
  cat "$root/started"
  return "$status"
}

uid=$(${user:-env} id -u)
[ "$(launch)" = "$root/tmp/quillon-$uid" ] || fail "HOME unset: not started from $root/tmp/quillon-$uid"
[ -f "$root/tmp/quillon-$uid/firmware.mot" ] || fail "HOME unset: the firmware was not copied"
[ "$(launch HOME=/nonexistent XDG_RUNTIME_DIR="$root/run")" = "$root/run/quillon" ] ||
  fail "HOME pointing nowhere: not started from the runtime folder"
[ ! -e /nonexistent ] || fail "a home that is not there was created"

# A folder of that name that someone else made in /tmp is not used.
rm -rf "$root/tmp/quillon-$uid"
mkdir -m 777 "$root/tmp/quillon-$uid"
[ -z "$user" ] || chown 0 "$root/tmp/quillon-$uid"
if [ -n "$user" ]; then
  launch >/dev/null && fail "a folder of another user's in /tmp was used"
  grep -q "cannot start: there is no folder" "$root/stderr" || fail "no reason given: $(cat "$root/stderr")"
fi

# Root writes anywhere, the program folder too; its run belongs in root's own data folder all
# the same. A stand-in `id` says root, whoever runs the test.
mkdir -p "$root/fakebin" "$root/roothome"
# shellcheck disable=SC2016 # the stand-in expands it
printf '#!/bin/sh\nif [ "$1" = -u ]; then echo 0; else exec /usr/bin/id "$@"; fi\n' >"$root/fakebin/id"
chmod 755 "$root/fakebin/id" "$program"
: >"$root/started"
env -i PATH="$root/fakebin:/usr/bin:/bin" HOME="$root/roothome" STARTED_IN="$root/started" \
  "$program/quillon-run" 2>"$root/stderr" || fail "root: $(cat "$root/stderr")"
[ "$(cat "$root/started")" = "$root/roothome/.local/share/quillon" ] ||
  fail "root: started in $(cat "$root/started"), not in root's data folder"
chmod 555 "$program"

# No wizard to start: the reason is given.
chmod 755 "$program"
rm "$program/quillon"
chmod 555 "$program"
launch HOME=/nonexistent XDG_RUNTIME_DIR="$root/run" >/dev/null && fail "started without a wizard"
grep -q "cannot start: the file quillon is missing" "$root/stderr" ||
  fail "no reason given: $(cat "$root/stderr")"

[ "$failures" -eq 0 ] && echo "launcher: all checks passed"
exit "$failures"
