#!/usr/bin/env bash
# Builds the Debian package zelk_<version>-1_amd64.deb into the project
# directory: a release build of the program alone (no tests) with Debian's
# hardening flags, packed by CPack's DEB generator.
#   scripts/make-deb.sh [build-dir]      (default: build-deb)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$here/build-deb"}
"$here/scripts/install-deps.sh" dpkg-dev file

# Debian's own compiler and linker flags (fortified functions, stack
# protector, read-only relocations, immediate binding), as a package built
# by dpkg-buildpackage would get them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
(cd "$build_dir" && cpack -G DEB -B "$build_dir/deb" >/dev/null)
cp "$build_dir"/deb/zelk_*.deb "$here/"
ls "$here"/zelk_*.deb
# Debian's package checker, when it is installed: any error fails the build.
if command -v lintian >/dev/null; then
  lintian --fail-on error "$here"/zelk_*.deb
fi
