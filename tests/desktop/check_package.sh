#!/usr/bin/env bash
# The packaging check: the desktop entry and the AppStream data validate, and
# cpack builds a .deb holding the executable, the entry, the icon, the metadata
# and the copyright file. Exits 77 (skipped) only where a tool is missing.
#   check_package.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src="$1"
build="$2"
id=io.github.tavril.TavrilEditor
for tool in desktop-file-validate appstreamcli cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed" >&2
    exit 77
  fi
done
desktop-file-validate "$src/resources/$id.desktop"
appstreamcli validate --no-net "$src/resources/$id.metainfo.xml"
# Korean and Japanese desktops show the program by its names in their language.
for lang in ko ja; do
  for key in Name Comment Keywords; do
    grep -q "^$key\[$lang\]=" "$src/resources/$id.desktop" ||
      { echo "the desktop entry has no $key[$lang]" >&2; exit 1; }
  done
  for tag in name summary p; do
    grep -q "<$tag xml:lang=\"$lang\">" "$src/resources/$id.metainfo.xml" ||
      { echo "the metainfo has no $tag in $lang" >&2; exit 1; }
  done
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log") || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/tavriledit_*.deb)
contents=$(dpkg-deb -c "$deb")
for file in usr/bin/tavriledit "usr/share/applications/$id.desktop" \
            "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/metainfo/$id.metainfo.xml" \
            usr/share/doc/tavriledit/copyright; do
  grep -q "\./$file\$" <<<"$contents" || { echo "missing from the package: $file" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 fonts-nanum fonts-ipafont-gothic libhangul-data libhangul1 \
           qt6-translations-l10n; do
  grep -q "$dep" <<<"$depends" || { echo "package does not depend on $dep: $depends" >&2; exit 1; }
done
echo "package ok: $(basename "$deb")"
