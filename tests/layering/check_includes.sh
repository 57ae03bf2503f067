#!/bin/sh
# The include rules between the subsystems of src/: store/ includes no other
# subsystem, no file outside shell/ includes shell/, and the core (every file
# that is no widget, window, dialog or the entry) includes no Qt header.
# Prints every breach and fails when there is one.
src=${1:?usage: check_includes.sh <src dir>}
status=0
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
    if [ "$folder" = store ] && [ -n "$included_folder" ] &&
       [ -d "$src/$included_folder" ] && [ "$included_folder" != store ]; then
      breach "$relative" "store/ includes $target"
    fi
    if [ "$folder" != shell ] && [ "$included_folder" = shell ]; then
      breach "$relative" "a core subsystem includes $target"
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
