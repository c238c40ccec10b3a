#!/usr/bin/env bash
# Installs what building, running and testing Tervalen needs, from Debian's packages,
# skipping what is already there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev liblz4-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libgeos-dev libdxflib-dev
  clang libclang-rt-14-dev clang-tidy
  fonts-arphic-uming fonts-dejavu-core xvfb xauth poppler-utils
  qt6-translations-l10n openbox xdotool x11-utils
  dpkg-dev fakeroot file lintian desktop-file-utils appstream shared-mime-info man-db gzip
  python3-ezdxf locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal separator is a comma, for the test that the files the program
# writes keep their decimal points whatever the user's locale.
if ! locale -a 2>/dev/null | grep -ix 'de_DE\.utf-\?8' >/dev/null; then
  echo "Generating the locale de_DE.UTF-8"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
