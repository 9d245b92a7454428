#!/usr/bin/env bash
# Packs the built program as a .deb, unpacks it into a temporary root and runs it from there
# offscreen, as an installed program, with HOME and the XDG folders in a temporary home:
#   1. no settings: the student lands in $XDG_DATA_HOME/reaktikum/BDStudent.rez;
#   2. [Data] folder= in the system settings: the student lands in that folder.
# Either way the program folder must stay exactly as unpacked. Before that, the package must
# hold what a desktop and the package tools look for, in their places, and every file that
# names a version (the package's control data, the metainfo a software centre shows, the
# manual page, the changelog) must name the same one.
# The program is a test-only build (PROBE) that starts from the unpacked program folder and
# registers the student through its registration window; the shipped executable is checked to
# start and wait for the student.
# Usage: InstalledRunTest.sh BUILD_DIR CPACK PROBE
set -euo pipefail
build=$1
cpack=$2
probe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

build=$(cd "$build" && pwd)
mkdir -p "$work/cpack"
# The packages land in packages/ below the folder cpack runs in.
(cd "$work/cpack" && "$cpack" -G DEB -B "$work/cpack" --config "$build/CPackConfig.cmake") \
  >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not build the .deb"; }
deb=$(ls "$work"/cpack/packages/reaktikum_*.deb)
dpkg-deb -x "$deb" "$work/root"
program="$work/root/usr/lib/reaktikum"
[ -x "$program/reaktikum" ] || fail "no executable in the program folder"
[ -L "$work/root/usr/bin/reaktikum" ] || fail "no starter in usr/bin"
[ "$(readlink -f "$work/root/usr/bin/reaktikum")" = "$(readlink -f "$program/reaktikum")" ] ||
  fail "usr/bin/reaktikum does not lead to the program folder's executable"
share="$work/root/usr/share"
app=ru.reaktikum.Reaktikum
for file in "applications/$app.desktop" "metainfo/$app.metainfo.xml" man/man1/reaktikum.1.gz \
  "icons/hicolor/48x48/apps/$app.png" "icons/hicolor/256x256/apps/$app.png" \
  "icons/hicolor/scalable/apps/$app.svg" doc/reaktikum/copyright doc/reaktikum/changelog.gz \
  reaktikum/server/setup.sql; do
  [ -f "$share/$file" ] || fail "the package has no usr/share/$file"
done
# Nothing lands beside the program folder and the starter but what usr/share holds.
extra=$(cd "$work/root" && find . -mindepth 2 -maxdepth 2 ! -path ./usr/lib ! -path ./usr/bin \
  ! -path ./usr/share)
[ -z "$extra" ] || fail "the package installs outside usr/bin, usr/lib/reaktikum, usr/share: $extra"
[ "$(ls "$work/root/usr/lib")" = reaktikum ] || fail "usr/lib holds more than the program folder"

version=$(dpkg-deb -f "$deb" Version)
[ -n "$version" ] || fail "the package carries no version"
metainfo_version=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$share/metainfo/$app.metainfo.xml" |
  head -n 1)
[ "$metainfo_version" = "$version" ] ||
  fail "the metainfo's newest release is $metainfo_version, the package is $version"
man_version=$(gzip -dc "$share/man/man1/reaktikum.1.gz" | sed -n 's/^\.TH .*"Reaktikum \([^"]*\)".*/\1/p')
[ "$man_version" = "$version" ] || fail "the manual page names $man_version, the package is $version"
changelog_version=$(gzip -dc "$share/doc/reaktikum/changelog.gz" | sed -n '1s/^reaktikum (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] ||
  fail "the changelog's newest entry is $changelog_version, the package is $version"
[ ! -e "$program/BDStudent.rez" ] || fail "the package carries a results file"
listing() { (cd "$program" && find . -printf '%p %s %m %T@\n' | sort); }
listing >"$work/before"

# Root could write the program folder and open every movie for writing: the program runs as an
# ordinary account, as the students do.
runner=()
as_user() { :; }
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$work"
  runner=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups --)
  as_user() { chown -R nobody:"$(id -gn nobody)" "$@"; }
fi

# Runs the program from the unpacked folder with a clean environment; the student registers
# through the registration window and the program ends once the student is saved. A box that
# waits for a click would hang: the timeout turns that into a failure.
run() {
  local home=$1 group=$2 surname=$3
  mkdir -p "$home"
  as_user "$home"
  "${runner[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" \
    XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
    XDG_CONFIG_DIRS="$work/etc/xdg" XDG_RUNTIME_DIR="$home/run" \
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
    timeout 120 "$work/probe" --program-folder "$program" --group "$group" --surname "$surname" \
    >"$home.log" 2>&1 ||
    { cat "$home.log" >&2; fail "the program did not end cleanly"; }
}

# A results file holding exactly one student with this surname.
expect_student() {
  local file=$1 surname=$2
  [ -f "$file" ] || fail "no results file at $file"
  [ "$(stat -c %s "$file")" -eq 300 ] || fail "$file is $(stat -c %s "$file") bytes, not one student"
  # The results file keeps texts in Windows-1251.
  LC_ALL=C grep -qF "$(printf '%s' "$surname" | iconv -f UTF-8 -t CP1251)" "$file" ||
    fail "$file does not hold $surname"
}

# The probe lies outside the program folder, readable by the students' account.
cp "$probe" "$work/probe"
chmod 755 "$work/probe"

# The shipped program itself starts from the package and waits for the student (it is still
# running when the timeout stops it), leaving the program folder as it was.
mkdir -p "$work/home0"
as_user "$work/home0"
status=0
"${runner[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$work/home0" \
  XDG_DATA_HOME="$work/home0/.local/share" XDG_CONFIG_HOME="$work/home0/.config" \
  XDG_CONFIG_DIRS="$work/etc/xdg" XDG_RUNTIME_DIR="$work/home0/run" \
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
  timeout 5 "$work/root/usr/bin/reaktikum" >"$work/home0.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/home0.log" >&2; fail "the installed program did not keep running (status $status)"; }
[ -f "$work/home0/.local/share/reaktikum/BDStudent.rez" ] || fail "the installed program made no data folder"

run "$work/home1" "Х-11" "Менделеев Д.И."
expect_student "$work/home1/.local/share/reaktikum/BDStudent.rez" "Менделеев Д.И."
listing | diff -u "$work/before" - || fail "the program folder was written"

mkdir -p "$work/etc/xdg/reaktikum" "$work/shared"
as_user "$work/shared"
printf '[Data]\nfolder=%s\n' "$work/shared" >"$work/etc/xdg/reaktikum/reaktikum.ini"
run "$work/home2" "Х-12" "Ломоносов М.В."
expect_student "$work/shared/BDStudent.rez" "Ломоносов М.В."
[ ! -e "$work/home2/.local/share/reaktikum/BDStudent.rez" ] ||
  fail "the per-user data folder was used although the settings name a shared one"
listing | diff -u "$work/before" - || fail "the program folder was written"
echo "installed program $version: files in place, assets found, students saved in the data folders, program folder untouched"
