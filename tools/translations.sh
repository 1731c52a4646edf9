#!/usr/bin/env bash
# Keeps the Korean and Japanese translations in step with the texts of src/.
#   translations.sh update LUPDATE SOURCE_DIR  rewrite resources/translations/*.ts
#   translations.sh check LUPDATE SOURCE_DIR   fail when a .ts lacks a new or changed
#       text, still holds one the sources dropped, or has an unfinished translation
# Both run lupdate the same way, so a .ts is up to date exactly when lupdate
# leaves a copy of it unchanged.
set -euo pipefail
mode="$1"
lupdate="$2"
src="$3"

run_lupdate() {
  "$lupdate" -silent -locations none -no-obsolete -no-ui-lines -extensions cpp,h \
    "$src/src" -ts "$1"
}

status=0
for ts in "$src"/resources/translations/tavriledit_*.ts; do
  case "$mode" in
    update)
      run_lupdate "$ts"
      ;;
    check)
      work=$(mktemp -d)
      cp "$ts" "$work/"
      copy="$work/$(basename "$ts")"
      warnings=$(run_lupdate "$copy" 2>&1) || { echo "$warnings" >&2; exit 1; }
      if [ -n "$warnings" ]; then
        echo "$(basename "$ts"): lupdate warns:" >&2
        echo "$warnings" >&2
        status=1
      fi
      if ! cmp -s "$ts" "$copy"; then
        echo "$(basename "$ts") is not up to date with the sources (new, changed or dropped texts):" >&2
        diff -u "$ts" "$copy" >&2 || true
        status=1
      fi
      if grep -q 'type="unfinished"' "$copy"; then
        echo "$(basename "$ts") has unfinished translations:" >&2
        grep -B2 'type="unfinished"' "$copy" | grep '<source>' >&2 || true
        status=1
      fi
      rm -rf "$work"
      ;;
    *)
      echo "usage: translations.sh update|check LUPDATE SOURCE_DIR" >&2
      exit 2
      ;;
  esac
done
[ "$status" -eq 0 ] && [ "$mode" = check ] && echo "translations complete"
exit "$status"
