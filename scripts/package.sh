#!/usr/bin/env bash
# Builds the Debian package vosmira_<version>_<arch>.deb into dist/ (or the
# folder given), with Debian's hardening flags in its own build folder, and
# checks it: lintian on the package, desktop-file-validate on the menu entry,
# appstreamcli on the metainfo. Any error fails the run.
#   VOSMIRA_BUILD_DIR   another build folder (default build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
build_dir=${VOSMIRA_BUILD_DIR:-build-package}
out_dir=$(realpath -m "${1:-dist}")

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build_dir" -j"$jobs" --target vosmira_packaged

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cpack --config "$build_dir/CPackConfig.cmake" -B "$staging" >/dev/null
mkdir -p "$out_dir"
deb=$(find "$staging" -maxdepth 1 -name 'vosmira_*.deb')
cp "$deb" "$out_dir/"
deb=$out_dir/$(basename "$deb")

desktop-file-validate resources/vosmira.desktop
appstreamcli validate --no-net packaging/br.com.vosmira.vosmira.metainfo.xml >/dev/null
lintian --fail-on error "$deb"
echo "$deb"
