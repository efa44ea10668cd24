#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent: packages already present are skipped.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git
  clang clang-format libclang-rt-14-dev lld
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools
  qt6-httpserver-dev qt6-websockets-dev libqt6opengl6-dev
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-window qml6-module-qtquick-templates qml6-module-qtqml-workerscript
  qml6-module-qtquick-dialogs qml6-module-qt-labs-folderlistmodel qml6-module-qtqml qml6-module-qttest
  qml6-module-qtquick-shapes
  qcoro-qt6-dev libqt6svg6 qt6-svg-dev
  qt6-pdf-dev qml6-module-qtquick-pdf
  qt6-webengine-dev qml6-module-qtwebengine qt6-webchannel-dev qml6-module-qtwebchannel
  qt6-multimedia-dev qml6-module-qtmultimedia gstreamer1.0-plugins-good gstreamer1.0-plugins-base
  gstreamer1.0-tools gstreamer1.0-libav
  libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us espeak-ng chromium
  libcpp-httplib-dev libssl-dev libsqlite3-dev libsodium-dev nlohmann-json3-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev libmd4c-dev
  fonts-inter fonts-jetbrains-mono fonts-material-design-icons-iconfont fonts-noto-color-emoji
  xvfb xauth libgl1-mesa-dri jq
  desktop-file-utils appstream dbus-daemon qtkeychain-qt6-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
