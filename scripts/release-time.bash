# Sourced by the package scripts from the top of the tree. Packages made from one commit are the
# same, byte for byte, wherever, whenever and by whom they are made: every time in them is the
# commit's (SOURCE_DATE_EPOCH, unless the caller set it; the newest release's date from
# CHANGELOG.md outside a git checkout), read as UTC, and every file is written with the same
# permissions whatever the caller's umask.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
    SOURCE_DATE_EPOCH=$(awk -v mode=epoch -f cmake/changelog.awk CHANGELOG.md)
fi
export SOURCE_DATE_EPOCH
export TZ=UTC
umask 022
