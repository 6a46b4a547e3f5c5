#!/usr/bin/env bash
# Writes the release package, after both release builds (build/release-x64,
# build/release-x86) are done. Called by ./dev package:
#
#   make-package.sh ROOT BUILD DIST [--sign CERT.pfx]
#
# DIST then holds, for x64 and x86, the DLL, its type library and the
# preview tool pendrel-import.exe; one MSI package per architecture;
# INSTALL.txt; SHA256SUMS. With --sign, the DLLs, the tools and the MSIs are
# signed (see signing.sh). Everything is put together in a folder beside
# DIST, which replaces DIST only when every step has succeeded: a failure
# leaves no half-made or half-signed package.
#
# The registry entries of the MSIs are harvested from the staged DLLs in a
# scratch Wine prefix (harvest_registration.py, with buildtools/wine.py, which
# fetches the 32-bit Windows DLLs the prefix needs when they are missing),
# run as a module of the project's packages: the caller puts the source root
# on PYTHONPATH, as ./dev does for every command.
set -euo pipefail
ROOT=$1 BUILD=$2 DIST=$3
shift 3
CERT=
while [ $# -gt 0 ]; do
  case $1 in
    --sign) [ $# -ge 2 ] || { echo "package: --sign needs a certificate file (.pfx)" >&2; exit 2; }
            CERT=$2; shift 2 ;;
    *) echo "package: unknown option '$1'" >&2; exit 2 ;;
  esac
done
PACKAGING=$ROOT/packaging
ARCHES=(x64 x86)

# Where the release builds put what the package takes: the one place that
# knows the build's folders.
release_dir() { echo "$BUILD/release-$1"; }
module_dir() { echo "$(release_dir "$1")/module"; }
built_files() {  # built_files ARCH: the DLL, its type library and the preview tool
  echo "$(module_dir "$1")/$NAME.dll" "$(release_dir "$1")/typelibs/$NAME.tlb" "$(release_dir "$1")/tools/pendrel-import.exe"
}

# shellcheck source=signing.sh
. "$PACKAGING/signing.sh"
[ -z "$CERT" ] || signing_check "$CERT"

# The module's name and the one version of the build, from the project's
# CMakeLists.txt, as the build configured them into the DLLs.
NAME=$(python3 -m buildtools.module_identity name "$(release_dir x64)") || exit 1
VERSION=$(python3 -m buildtools.module_identity version "$(release_dir x64)") || exit 1

mkdir -p "$(dirname "$DIST")"
STAGE=$(mktemp -d "$DIST.partial.XXXXXX")
trap 'rm -rf "$STAGE"' EXIT

stage_binaries() {
  local arch triplet
  for arch in "${ARCHES[@]}"; do
    mkdir -p "$STAGE/$arch"
    # shellcheck disable=SC2046
    cp $(built_files "$arch") "$STAGE/$arch/"
    case $arch in x64) triplet=x86_64-w64-mingw32 ;; x86) triplet=i686-w64-mingw32 ;; esac
    "$triplet-strip" --strip-unneeded "$STAGE/$arch/$NAME.dll" "$STAGE/$arch/pendrel-import.exe"
  done
}

make_msis() {
  local arch registration=$BUILD/package-registration
  echo "==> harvesting the module's registration in a scratch Wine prefix" >&2
  python3 -m packaging.harvest_registration "$BUILD/package-prefix" "$registration" \
    x64="$STAGE/x64/$NAME.dll" x86="$STAGE/x86/$NAME.dll"
  for arch in "${ARCHES[@]}"; do
    "$PACKAGING/make-msi.sh" "$arch" "$NAME" "$VERSION" "$STAGE/$arch" "$registration/$arch.wxi" \
      "$STAGE/$NAME-$VERSION-$arch.msi"
  done
}

write_install_text() {
  local signing="The files of this package are not signed."
  [ -z "$CERT" ] || signing="The DLLs, the preview tools and the MSI packages carry an Authenticode signature."
  sed -e "s/@NAME@/$NAME/g" -e "s/@VERSION@/$VERSION/g" -e "s/@SIGNING@/$signing/" "$PACKAGING/INSTALL.txt.in" | sed 's/$/\r/' \
    >"$STAGE/INSTALL.txt"
}

stage_binaries
[ -z "$CERT" ] || sign_files "$CERT" "$STAGE"/*/"$NAME.dll" "$STAGE"/*/pendrel-import.exe
make_msis
[ -z "$CERT" ] || sign_files "$CERT" "$STAGE"/*.msi
write_install_text
sums=$(cd "$STAGE" && find . -type f | sed 's|^\./||' | sort | xargs sha256sum)
echo "$sums" >"$STAGE/SHA256SUMS"

chmod 755 "$STAGE"
rm -rf "$DIST"
mv "$STAGE" "$DIST"
echo "==> package $VERSION in $DIST$([ -z "$CERT" ] || echo ", signed"):" >&2
(cd "$DIST" && find . -type f | sort | xargs ls -l | awk '{print "    " $5 "\t" $9}') >&2
