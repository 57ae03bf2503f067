#!/bin/sh
# The include rules between the subsystems of src/: each folder includes only
# its own and those below it, in the order
#   store < actions < monitor < prtg < face < settings < shell
# (store at the bottom, shell on top), and the core (every file that is no
# widget, window, dialog or the entry) includes no Qt header. Prints every
# breach and fails when there is one.
src=${1:?usage: check_includes.sh <src dir>}
status=0
floor() {
  case "$1" in
    store) echo 1 ;; actions) echo 2 ;; monitor) echo 3 ;; prtg) echo 4 ;;
    face) echo 5 ;; settings) echo 6 ;; shell) echo 7 ;; *) echo 0 ;;
  esac
}
breach() {
  echo "$1: $2" >&2
  status=1
}
for file in $(find "$src" -name '*.cc' -o -name '*.h' | sort); do
  relative=${file#"$src"/}
  folder=${relative%%/*}
  base=$(basename "$relative")
  base=${base%.*}
  includes=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*\([<"][^>"]*[>"]\).*/\1/p' "$file")
  for include in $includes; do
    target=$(echo "$include" | tr -d '<>"')
    case "$target" in
      */*) included_folder=${target%%/*} ;;
      *) included_folder= ;;
    esac
    if [ -n "$included_folder" ] && [ -d "$src/$included_folder" ] &&
       [ "$(floor "$included_folder")" -gt "$(floor "$folder")" ]; then
      breach "$relative" "$folder/ includes $target, which stands above it"
    fi
    case "$base" in
      *_widget | *_window | *_dialog | main) ;;
      *) case "$target" in
           Q* | Qt*/*) breach "$relative" "the core includes $target" ;;
         esac ;;
    esac
  done
done
exit $status
