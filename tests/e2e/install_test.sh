#!/bin/sh
# A build installs as it is, with no target of its own built first: `cmake --install` of the
# build folder puts the whole tree the packages hold under a prefix.
#   install_test.sh CMAKE BUILD_DIR
set -eu
cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install" >&2; exit 1; }

program_dir=$prefix/lib/quillon
for program in quillon-run $(cat "$build/package/programs.txt"); do
  [ -x "$program_dir/$program" ] || fail "lib/quillon/$program is missing or not executable"
done
firmware=$(sed -n '3p' "$program_dir/Orbfix.dat")
[ -f "$program_dir/$firmware" ] || fail "Orbfix.dat names $firmware, which is not beside it"
for program in quillon quillon-demo; do
  grep -qx "$program" "$build/package/programs.txt" || continue
  [ -e "$prefix/bin/$program" ] || fail "bin/$program does not lead into the program folder"
  [ -s "$prefix/share/man/man1/$program.1.gz" ] || fail "share/man/man1/$program.1.gz is missing"
done
for file in share/applications/quillon.desktop share/icons/hicolor/scalable/apps/quillon.svg \
  share/doc/quillon/README.md share/doc/quillon/notices.md share/doc/quillon/copyright \
  share/doc/quillon/changelog.gz; do
  [ -f "$prefix/$file" ] || fail "$file is missing"
done
ls "$prefix"/share/metainfo/*.metainfo.xml >/dev/null 2>&1 || fail "no AppStream metadata"

[ "$failures" -eq 0 ] || exit 1
echo "installed: $(find "$prefix" -type f | wc -l) files"
