# Shared by scripts/run.sh and scripts/test.sh: what the project needs from Debian, and the build.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# What the program needs to be built and run (scripts/run.sh).
PROGRAM_PACKAGES=(
  cmake ninja-build g++
  qt6-base-dev qt6-webengine-dev qt6-translations-l10n libfontconfig-dev libphonenumber-dev
  libsqlite3-dev fonts-liberation2 fonts-dejavu-core xvfb xauth xdg-utils python3
)
# And what its tests and its package need besides (scripts/test.sh, scripts/package.sh).
TEST_PACKAGES=(
  "${PROGRAM_PACKAGES[@]}"
  clang libclang-rt-14-dev libgtest-dev libgmock-dev
  xdotool x11-utils x11-xserver-utils imagemagick openbox strace
  librsvg2-bin dpkg-dev file lintian desktop-file-utils appstream
  at-spi2-core python3-pyatspi python3-dbusmock dbus qt6-gtk-platformtheme xclip sqlite3 tzdata
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_missing_packages PACKAGE...
install_missing_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build DIR [cmake options...]
build() {
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir"
}

# The web engine refuses to start its sandbox as root; only these scripts turn it off.
web_engine_environment() {
  if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
}

# What the sanitized builds report on: a full stack for undefined behaviour, and leaks checked
# at exit with the known third-party ones suppressed.
sanitizer_environment() {
  export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=print_stacktrace=1
  export LSAN_OPTIONS=suppressions=$ROOT/tests/sanitizers/lsan.supp
}

# The version the project gives itself, which names its package.
package_version() {
  sed -n 's/^project(SmsMovarek VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt"
}
