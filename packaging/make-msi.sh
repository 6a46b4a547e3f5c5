#!/usr/bin/env bash
# Builds the MSI package of one architecture with wixl:
#   make-msi.sh ARCH NAME VERSION PAYLOAD REGISTRATION OUT
# NAME is the module's name (the DLL's and its type library's without the
# extension), PAYLOAD the folder of that architecture's files (the DLL, its
# type library, pendrel-import.exe), REGISTRATION the registry entries
# harvested from the DLL (harvest_registration.py), VERSION the product
# version (major.minor.patch). Called by make-package.sh, and by the upgrade test
# with a higher version. What wixl cannot write (the files' versions, the
# same version among the older versions a package replaces) is written into
# the package after it (amend_msi.py).
set -euo pipefail
ARCH=$1 NAME=$2 VERSION=$3 PAYLOAD=$4 REGISTRATION=$5 OUT=$6
SOURCES=$(cd "$(dirname "${BASH_SOURCE[0]}")/msi" && pwd)

OUT=$(realpath -m "$OUT")

# wixl finds files only by paths relative to its working folder, so it runs
# in a folder that links the payload and the registration under fixed names.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$(realpath "$PAYLOAD")" "$work/payload"
ln -s "$(realpath "$REGISTRATION")" "$work/registration.wxi"
# wixl prints GLib warnings for attributes it does not know; they are shown
# only when the build fails.
if ! (cd "$work" && wixl -a "$ARCH" -I "$SOURCES" -I . -D Arch="$ARCH" -D ModuleName="$NAME" -D Version="$VERSION" \
        -D Payload=payload -D Registration=registration.wxi \
        -o "$OUT" "$SOURCES/BankModule.wxs") >"$work/log" 2>&1 || [ ! -s "$OUT" ]; then
  cat "$work/log" >&2
  echo "package: wixl could not build the $ARCH package" >&2
  exit 1
fi
python3 "$(dirname "${BASH_SOURCE[0]}")/amend_msi.py" "$OUT" "$PAYLOAD" || { rm -f "$OUT"; exit 1; }
