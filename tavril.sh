#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, then starts the editor or runs the tests.
#   bash tavril.sh run [FILE]   build and start the editor, optionally opening FILE
#   bash tavril.sh test         build and run the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make ccache python3 qt6-base-dev libgl-dev
          libxkbcommon-dev fonts-nanum fonts-ipafont-gothic fonts-dejavu-core libhangul-data
          libhangul1 libhangul-dev pkg-config qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
          desktop-file-utils appstream dpkg-dev file debian-faq-ko debian-faq-ja)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

mode="${1:-run}"
[ $# -gt 0 ] && shift
# Extra configure options, e.g. TAVRIL_CMAKE_ARGS="-DTAVRIL_BUILD_BENCH=ON" (CI sets its own).
read -r -a extra <<< "${TAVRIL_CMAKE_ARGS:-}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null

case "$mode" in
  run) cmake --build build -j2 --target tavriledit && exec build/bin/tavriledit "$@" ;;
  test) cmake --build build -j2 && cd build && exec ctest --output-on-failure -j2 ;;
  *) echo "usage: bash tavril.sh run [FILE] | bash tavril.sh test" >&2; exit 2 ;;
esac
