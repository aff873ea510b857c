#!/usr/bin/env bash
# Builds the Debian package of the program in Release into dist/ (or --output DIR).
#   scripts/package.sh [--gateway-host HOST[:PORT]] [--output DIR]
# The gateway host defaults to the production one; tests build against the simulator's.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

HOST=sms.vertanix.cz
OUTPUT="$ROOT/dist"
while [ $# -gt 0 ]; do
  case $1 in
    --gateway-host) HOST=$2; shift 2 ;;
    --output) OUTPUT=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: $0 [--gateway-host HOST[:PORT]] [--output DIR]" >&2; exit 2 ;;
  esac
done

install_missing_packages "${TEST_PACKAGES[@]}"
BUILD="$ROOT/build-package"
# Debian's hardening flags, as a package built by Debian's own tools gets them.
build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DMOVAREK_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DMOVAREK_GATEWAY_HOST="$HOST" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_MODULE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
mkdir -p "$OUTPUT"
(cd "$BUILD" && cpack -B "$OUTPUT" >/dev/null)
rm -rf "$OUTPUT/_CPack_Packages"
ls "$OUTPUT"/*.deb
