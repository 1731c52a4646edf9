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
for dep in libqt6widgets6 fonts-nanum fonts-ipafont-gothic libhangul-data libhangul1; do
  grep -q "$dep" <<<"$depends" || { echo "package does not depend on $dep: $depends" >&2; exit 1; }
done
echo "package ok: $(basename "$deb")"
