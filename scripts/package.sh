#!/usr/bin/env bash
# Builds the Debian package build-package/quorvane_<version>-1_<arch>.deb with
# CPack, checks its contents against the install rules and runs lintian on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dpkg-dev file lintian

# Debian's usual optimisation and hardening flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF -DQUORVANE_SANITIZE=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags"
cmake --build build-package --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
rm -f build-package/quorvane_*.deb
(cd build-package && cpack -G DEB)

debs=(build-package/quorvane_*.deb)
deb=${debs[0]}
cmake -DLIST=build-package/installed_files.txt -DDEB="$deb" -DPREFIX=/usr -P packaging/check_installed_files.cmake
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "Package: $deb"
