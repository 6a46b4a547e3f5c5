#!/usr/bin/env bash
# Writes the release package: make-package.sh ROOT BUILD DIST, after both
# release builds (build/release-x64, build/release-x86) are done. Called by
# ./dev package.
set -euo pipefail
ROOT=$1 BUILD=$2 DIST=$3
NAME=MavrinTorvVantryNewFormat

# The one version of the build: the project version in CMakeLists.txt, as
# configured into the DLLs' version information.
VERSION=$(sed -n 's/^#define PENDREL_VERSION_TEXT "\(.*\)"$/\1/p' "$BUILD/release-x64/module/ModuleVersion.h")
[ -n "$VERSION" ] || { echo "package: no version in ModuleVersion.h" >&2; exit 1; }

rm -rf "$DIST"
for arch in x64 x86; do
  mkdir -p "$DIST/$arch"
  cp "$BUILD/release-$arch/module/$NAME.dll" "$BUILD/release-$arch/typelibs/$NAME.tlb" "$DIST/$arch/"
  case $arch in x64) triplet=x86_64-w64-mingw32 ;; x86) triplet=i686-w64-mingw32 ;; esac
  "$triplet-strip" --strip-unneeded "$DIST/$arch/$NAME.dll"
done
sed "s/@VERSION@/$VERSION/g" "$ROOT/packaging/INSTALL.txt.in" | sed 's/$/\r/' >"$DIST/INSTALL.txt"
(cd "$DIST" && sha256sum x64/$NAME.dll x64/$NAME.tlb x86/$NAME.dll x86/$NAME.tlb INSTALL.txt >SHA256SUMS)
echo "==> package $VERSION in $DIST:" >&2
(cd "$DIST" && find . -type f | sort | xargs ls -l | awk '{print "    " $5 "\t" $9}') >&2
