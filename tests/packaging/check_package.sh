#!/bin/sh
# Unpacks the Debian package of `make package` into a fresh tree with
# dpkg -x and runs it from there alone: its dependencies, its layout, vigil,
# the orb under a name that is no mode and under AuxOrb, and the example
# wall started and stopped by vigil. Builds nothing: without a package it
# is skipped (exit 77).
set -eu

build=$1
deb=$(ls -t "$build"/vigil-panel_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
  echo "no package in $build (make package builds one): skipped"
  exit 77
fi
echo "checking $deb"

root=$(mktemp -d)
usr="$root/tree/usr"
wall="$root/wall"
finish() {
  [ -x "$usr/bin/vigil" ] && [ -d "$wall" ] &&
    "$usr/bin/vigil" stop --dir "$wall" --wait 5 >/dev/null 2>&1
  rm -rf "$root"
}
trap finish EXIT
fail() {
  echo "FAIL: $*"
  [ -d "$wall/.vigil" ] && tail -n 5 "$wall"/.vigil/*.out "$wall"/AuxOrbs.Log 2>/dev/null
  exit 1
}
# Polls a condition for up to $1 seconds.
wait_for() {
  limit=$(($1 * 5))
  shift
  while ! "$@"; do
    limit=$((limit - 1))
    [ "$limit" -gt 0 ] || return 1
    sleep 0.2
  done
}

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6charts6 libcurl4 libjpeg62-turbo fonts-liberation; do
  case ", $depends," in
    *", $package"[,\ ]*) ;;
    *) fail "Depends lacks $package: $depends" ;;
  esac
done

dpkg -x "$deb" "$root/tree"
for file in bin/RfcOrb bin/vigil bin/vigil-sensor \
    lib/vigil-panel/RfcOrbs.so lib/vigil-panel/HttpOrbs.so lib/vigil-panel/AuxOrbs.so \
    share/vigil-panel/Gauges/Gauge00.Jpg share/vigil-panel/Images/Image00.Jpg \
    share/vigil-panel/example/AuxOrbs.Prf share/vigil-panel/example/Local.Prf \
    share/vigil-panel/example/vigil-sensor share/applications/vigil-panel.desktop \
    share/man/man1/vigil.1 share/man/man1/RfcOrb.1 share/man/man1/HttpOrb.1 \
    share/man/man1/AuxOrb.1; do
  [ -e "$usr/$file" ] || fail "the package has no /usr/$file"
done
for name in HttpOrb AuxOrb; do
  [ "$(readlink "$usr/bin/$name")" = RfcOrb ] || fail "/usr/bin/$name is no link to RfcOrb"
done

"$usr/bin/vigil" --help 2>&1 | grep -q "vigil start|stop|status|restart" ||
  fail "vigil --help does not show its usage"

# The orb takes its mode from its name and refuses any other.
cp "$usr/bin/RfcOrb" "$root/NoOrb"
status=0
"$root/NoOrb" . 0203 >"$root/no-orb.out" 2>&1 || status=$?
[ "$status" = 2 ] && grep -q "Start this program as RfcOrb, HttpOrb or AuxOrb" "$root/no-orb.out" ||
  fail "an orb under another name did not refuse (status $status)"

mkdir "$wall"
cp "$usr/share/vigil-panel/example/AuxOrbs.Prf" "$wall/"
"$usr/bin/vigil" start 0000 --dir "$wall" --companion "$usr/share/vigil-panel/example" ||
  fail "vigil start of the example orb 0000"
# A number the wall has not: the orb starts, says so and ends by itself.
(cd "$wall" && exec "$usr/bin/AuxOrb" "$usr/share/vigil-panel/example" 0909 \
  >"$root/0909.out" 2>&1) &
refused=$!
wait_for 20 test -e "$wall/AuxOrb0000.Grn" || fail "the example orb 0000 had no green cycle"
wait_for 15 grep -q "Fail ;ID=;;AuxOrb-Position 09/09 not found" "$wall/AuxOrbs.Log" ||
  fail "AuxOrb 0909 did not refuse"
wait "$refused" || fail "AuxOrb 0909 did not end by itself"
"$usr/bin/vigil" stop --dir "$wall" || fail "vigil stop"
grep -q "Stop 0000 " "$wall/AuxOrbs.Log" || fail "orb 0000 logged no Stop"
echo "the package runs: $(du -k "$deb" | cut -f1) KiB"
