#!/usr/bin/env bash
# Installs the Debian 12 packages Vosmira needs to build, run and test, when
# they are missing. Safe to run again; does nothing when all are there.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-svg-dev libqt6svg6
    # Portuguese texts of Qt's own dialogs and buttons
    qt6-translations-l10n
    # artwork source and fonts the pictures and windows are drawn with
    papirus-icon-theme fonts-dejavu-core fonts-urw-base35 fonts-comic-neue
    # tests and benchmarks
    sqlite3 libbenchmark-dev poppler-utils unrtf
    # fuzzing: clang and its libFuzzer runtime
    clang libclang-rt-14-dev
    # the Debian package: CPack's dependency scan, its checks
    dpkg-dev file lintian desktop-file-utils appstream
    # the data store reads tables through the SQLite handle of the Qt connection
    libsqlite3-dev
    # a shared client table on a PostgreSQL server: the server (the tests start a
    # throw-away one, scripts/pg-server.sh; its psql comes with it), Qt's driver,
    # and libpq's headers
    postgresql libqt6sql6-psql libpq-dev
    # display modes through the X Resize and Rotate extension
    libxrandr-dev
    # seeing the program as a user does (Xvfb, window manager, accessibility bus)
    xvfb openbox dbus-x11 at-spi2-core python3-pyatspi xdotool imagemagick xdg-utils
    # a nested X server whose screen can change size, for the display guard's tests
    xserver-xephyr
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
