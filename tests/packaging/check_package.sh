#!/bin/sh
# Unpacks the Debian package of `make package` into a fresh tree with
# dpkg -x and runs it from there alone: lintian, its dependencies, its
# layout, the bash completion, vigil, the orb under a name that is no mode
# and under AuxOrb, the example wall started and stopped by vigil, and the
# desktop entry's first run: in a HOME that cannot be made (the person is
# told), then in a fresh HOME on a private X server (a screenshot in
# build/screenshots/first-run.png), then again on the wall it left. Builds
# nothing: without a package it is skipped (exit 77).
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
home_wall="$root/home/.local/share/vigil-panel"
xvfb=
finish() {
  for dir in "$wall" "$home_wall"; do
    [ -x "$usr/bin/vigil" ] && [ -d "$dir" ] &&
      "$usr/bin/vigil" stop --dir "$dir" --wait 5 >/dev/null 2>&1
  done
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null
  rm -rf "$root"
}
trap finish EXIT
fail() {
  echo "FAIL: $*"
  for dir in "$wall" "$home_wall"; do
    [ -d "$dir/.vigil" ] && tail -n 5 "$dir"/.vigil/*.out "$dir"/AuxOrbs.Log 2>/dev/null
  done
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

# Debian's policy as lintian knows it: no error, no warning.
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error,warning "$deb" >"$root/lintian.out" 2>&1 ||
    fail "lintian: $(grep -v '^running with root' "$root/lintian.out")"
else
  echo "lintian is not installed (make deps installs it): not checked"
fi

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6charts6 libcurl4 libjpeg62-turbo fonts-liberation; do
  case ", $depends," in
    *", $package"[,\ ]*) ;;
    *) fail "Depends lacks $package: $depends" ;;
  esac
done
twice=$(echo "$depends" | tr ',|' '\n\n' | sed 's/^ *//; s/[ (].*//' | sort | uniq -d)
[ -z "$twice" ] || fail "Depends names $twice more than once: $depends"

dpkg -x "$deb" "$root/tree"
for file in bin/RfcOrb bin/vigil bin/vigil-sensor bin/vigil-panel-session \
    lib/vigil-panel/RfcOrbs.so lib/vigil-panel/HttpOrbs.so lib/vigil-panel/AuxOrbs.so \
    lib/vigil-panel/libvigil-chart.so \
    share/vigil-panel/Gauges/Gauge00.Jpg share/vigil-panel/Images/Image00.Jpg \
    share/vigil-panel/example/AuxOrbs.Prf share/vigil-panel/example/Local.Prf \
    share/vigil-panel/example/vigil-sensor share/applications/vigil-panel.desktop \
    share/bash-completion/completions/vigil \
    share/doc/vigil-panel/copyright share/doc/vigil-panel/changelog.gz \
    share/man/man1/vigil.1.gz share/man/man1/RfcOrb.1.gz share/man/man1/HttpOrb.1.gz \
    share/man/man1/AuxOrb.1.gz share/man/man1/vigil-sensor.1.gz \
    share/man/man1/vigil-panel-session.1.gz share/man/man5/vigil-orbs.5.gz; do
  [ -e "$usr/$file" ] || fail "the package has no /usr/$file"
done
for name in HttpOrb AuxOrb; do
  [ "$(readlink "$usr/bin/$name")" = RfcOrb ] || fail "/usr/bin/$name is no link to RfcOrb"
done
grep -qx 'Exec=vigil-panel-session' "$usr/share/applications/vigil-panel.desktop" ||
  fail "the desktop entry does not run vigil-panel-session"

"$usr/bin/vigil" --help 2>&1 | grep -q "usage: vigil COMMAND" ||
  fail "vigil --help does not show its usage"
"$usr/bin/vigil" --version | grep -q "^vigil [0-9]" ||
  fail "vigil --version does not name its version"

# The bash completion: what it offers for the last of the words typed, the
# one under the cursor ("." for an empty one).
completion="$usr/share/bash-completion/completions/vigil"
example="$usr/share/vigil-panel/example"
offered_for() {
  bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    [[ ${COMP_WORDS[-1]} == . ]] && COMP_WORDS[-1]=
    _vigil; echo "${COMPREPLY[*]}"' sh "$completion" "$@" 2>/dev/null
}
set -f
while IFS='|' read -r typed expected; do
  # shellcheck disable=SC2086
  offered=" $(offered_for $typed) "
  for word in $expected; do
    case $offered in
      *" $word "*) ;;
      *) fail "completing '$typed' offers '$offered', not $word" ;;
    esac
  done
done <<EOF
vigil .|check remove restart try help --version
vigil start --dir $example .|0000 0001 0002 0003 0100
vigil stop --dir $example 0001 0003 .|0000 0002 0100
vigil set $example/AuxOrbs.Prf .|0000 0100
vigil remove --|--dir --stop
vigil start --|--force --companion
vigil add AuxOrbs.Prf --|--items --number
vigil set AuxOrbs.Prf 0000 --sorting .|colour-dsc
EOF
set +f
[ -z "$(offered_for vigil stop --dir "$example" 0000 0001 0002 0003 0100 .)" ] ||
  fail "the completion offers orbs already named"
# Every option that vigil's own usage text names for a command.
for command in check show add set remove start stop status restart try; do
  usage=$("$usr/bin/vigil" "$command" --help 2>&1 | grep -v "^vigil $command: " || true)
  case $usage in *"usage: vigil $command"*) ;; *) continue ;; esac
  offered=" $(offered_for vigil "$command" --) $(offered_for vigil "$command" -) "
  # "set" takes the options of "add" "but --number".
  for option in $(echo "$usage" | sed 's/but --[a-z-]*//' |
      grep -o -- '--[a-z][a-z-]*' | sort -u); do
    case $offered in
      *" $option "*) ;;
      *) fail "the completion of vigil $command lacks $option" ;;
    esac
  done
done

# The orb takes its mode from its name and refuses any other.
cp "$usr/bin/RfcOrb" "$root/NoOrb"
status=0
"$root/NoOrb" . 0203 >"$root/no-orb.out" 2>&1 || status=$?
[ "$status" = 2 ] && grep -q "Start this program as RfcOrb, HttpOrb or AuxOrb" "$root/no-orb.out" ||
  fail "an orb under another name did not refuse (status $status)"

mkdir "$wall"
cp "$example/AuxOrbs.Prf" "$wall/"
"$usr/bin/vigil" start 0000 --dir "$wall" --companion "$example" ||
  fail "vigil start of the example orb 0000"
# A number the wall has not: the orb starts, says so and ends by itself.
(cd "$wall" && exec "$usr/bin/AuxOrb" "$example" 0909 >"$root/0909.out" 2>&1) &
refused=$!
wait_for 20 test -e "$wall/AuxOrb0000.Grn" || fail "the example orb 0000 had no green cycle"
wait_for 15 grep -qs "Fail ;ID=;;AuxOrb-Position 09/09 not found" "$wall/AuxOrbs.Log" ||
  fail "AuxOrb 0909 did not refuse"
wait "$refused" || fail "AuxOrb 0909 did not end by itself"
"$usr/bin/vigil" stop --dir "$wall" || fail "vigil stop"
grep -q "Stop 0000 " "$wall/AuxOrbs.Log" || fail "orb 0000 logged no Stop"

# The desktop entry's first run. Each way it has to tell the person is a
# stub that writes down what it was given.
stubs="$root/stubs"
told="$root/told"
mkdir "$stubs"
for tool in notify-send gdbus zenity kdialog xmessage; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$tool" "$told" >"$stubs/$tool"
  chmod +x "$stubs/$tool"
done
display=
session() {
  env -u QT_QPA_PLATFORM HOME="$1" PATH="$stubs:$PATH" DISPLAY="$display" \
    "$usr/bin/vigil-panel-session" >"$root/session.out" 2>&1
}
# A HOME below a plain file: no folder can be made there, root or not.
touch "$root/plain"
status=0
session "$root/plain/home" || status=$?
[ "$status" = 1 ] || fail "a first run without a HOME folder ended with $status"
grep -q "^notify-send .*cannot make the folder for the wall" "$told" ||
  fail "a failed first run told nobody: $(cat "$told" "$root/session.out" 2>/dev/null)"
rm -f "$told"

command -v Xvfb >/dev/null 2>&1 || fail "no Xvfb for the first run (make deps installs it)"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$root/display" \
  >"$root/xvfb.out" 2>&1 &
xvfb=$!
wait_for 10 test -s "$root/display" || fail "Xvfb did not start: $(cat "$root/xvfb.out")"
display=:$(cat "$root/display")

# Every orb of the example wall has a file of each name ending given.
all_have() {
  for orb in 0000 0001 0002 0003 0100; do
    for ending in "$@"; do
      [ -e "$home_wall/AuxOrb$orb$ending" ] && continue 2
    done
    return 1
  done
}
session "$root/home" || fail "the first run: $(cat "$root/session.out")"
wait_for 20 all_have .Prf || fail "the orbs of the first run did not start"
[ ! -e "$told" ] || fail "a first run that worked told the person: $(cat "$told")"
[ "$(readlink "$home_wall/vigil-sensor")" = "$usr/bin/vigil-sensor" ] ||
  fail "the first run did not link vigil-sensor into the wall"
# The screenshot once every orb has a state marker of its first cycle.
wait_for 30 all_have .Grn .Yel .Red || fail "the orbs of the first run had no cycle"
sleep 1
mkdir -p "$build/screenshots"
import -display "$display" -window root "$build/screenshots/first-run.png" ||
  fail "no screenshot of the first run"
"$usr/bin/vigil" stop --dir "$home_wall" >/dev/null || fail "vigil stop of the first run"

# A wall that is there is started as it is.
sed -i 's/;Local machine/;My machine/' "$home_wall/AuxOrbs.Prf"
echo "# the operator's own" >>"$home_wall/Local.Prf"
cp "$home_wall/AuxOrbs.Prf" "$home_wall/Local.Prf" "$root/"
session "$root/home" || fail "the second run: $(cat "$root/session.out")"
wait_for 20 all_have .Prf || fail "the orbs of the second run did not start"
cmp -s "$root/AuxOrbs.Prf" "$home_wall/AuxOrbs.Prf" &&
  cmp -s "$root/Local.Prf" "$home_wall/Local.Prf" ||
  fail "the second run changed the wall"
"$usr/bin/vigil" stop --dir "$home_wall" >/dev/null || fail "vigil stop of the second run"
echo "the package runs: $(du -k "$deb" | cut -f1) KiB"
