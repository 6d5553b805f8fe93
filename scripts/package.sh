#!/usr/bin/env bash
# Builds the Debian package from the Release build in build/ and checks it without installing it:
#   scripts/package.sh        ->  build/package/velbrilabs-lumbra_<version>_<arch>.deb
# Installs the Debian packages the build needs first, like the other commands. The plug-in is not
# built a second time: only what the package carries is built (nothing, when
# the tests' Release build is already there), then CPack collects it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
[ -f build/CMakeCache.txt ] || scripts/configure.sh build
cmake --build build -j2 --target VelbriLabsLumbra_VST3 VelbriLabsLumbra_LV2 VelbriLabsLumbra_Standalone \
    lumbra-render lumbra_package_files

rm -rf build/package
(cd build && cpack -G DEB --config CPackConfig.cmake > package.log 2>&1) || { cat build/package.log; exit 1; }
deb="$(ls build/package/velbrilabs-lumbra_*.deb)"
echo "Built: $deb"

scripts/check-package.sh "$deb" build
