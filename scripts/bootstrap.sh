#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-tools-dev-tools libqt6svg6
  libx11-dev libxtst-dev libxext-dev libxfixes-dev libxi-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # office backend and its SDK
  libreoffice-calc libreoffice-impress libreoffice-dev libreoffice-dev-common
  python3 python3-uno
  # Qt Multimedia's media backend (the sounds themselves are decoded by Qt)
  gstreamer1.0-plugins-base
  # desktop for tests and screenshots
  xvfb xauth xdotool x11-utils x11-xserver-utils openbox imagemagick
  fonts-noto-cjk
  # Qt's own texts (standard buttons, context menus) in Chinese
  qt6-translations-l10n
  # assets: tones, help file, help viewer
  sox fp-utils xchm libchm-bin
)
# The desktops the program is tested on: window managers and a Wayland compositor with
# XWayland, and the desktop portal KDE answers global shortcuts through. Without what they
# merely recommend (whole desktop environments).
lean_packages=(dbus dbus-x11 xfwm4 mutter kwin-x11 kwin-wayland xwayland
  xdg-desktop-portal xdg-desktop-portal-kde)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }
missing=() lean_missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
for p in "${lean_packages[@]}"; do installed "$p" || lean_missing+=("$p"); done
[ ${#missing[@]} -eq 0 ] && [ ${#lean_missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
echo "bootstrap: installing ${missing[*]} ${lean_missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
[ ${#missing[@]} -eq 0 ] || "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
[ ${#lean_missing[@]} -eq 0 ] ||
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${lean_missing[@]}" >/dev/null
