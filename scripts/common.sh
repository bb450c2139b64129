# Shared by the run and test commands: installs what is missing, quickly when nothing is.
set -euo pipefail

VARNOCK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VARNOCK_ROOT

# Debian packages for the native build, the window and its tests; the last line reads the
# window as a screen reader does (a virtual display, the accessibility bus and its client).
NATIVE_PACKAGES=(build-essential cmake ninja-build qt6-base-dev libgtest-dev googletest
  libgmock-dev libcli11-dev nlohmann-json3-dev fonts-dejavu-core poppler-utils
  clang-format clang-tidy libssl-dev gettext python3-polib appstream qt6-translations-l10n
  xvfb xauth dbus-x11 at-spi2-core python3-pyatspi)

# Debian packages for the Windows programs: the mingw-w64 cross compiler, Wine to run their
# tests, the sources and headers the cross build compiles (GoogleTest, CLI11, JSON), and a
# virtual display with fonts for the tests that open windows.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 googletest
  libcli11-dev nlohmann-json3-dev xvfb xauth fonts-wine fonts-liberation gettext python3-polib
  appstream)

# Debian packages for building and checking the installable packages.
# The portable archive carries Debian's Qt Wayland plugin and sets run paths with patchelf.
PACKAGE_PACKAGES=(dpkg-dev lintian appstream desktop-file-utils patchelf qt6-wayland)

# Debian packages for the fuzz targets: clang with its libFuzzer and sanitizer runtimes.
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# The tests read the English texts, so their messages are not in the user's language; the
# tests of the translations set a language themselves.
unset LANGUAGE
export LC_MESSAGES=C
if [ -n "${LC_ALL:-}" ]; then
  export LC_ALL=C.UTF-8
fi

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}

# ensure_packages PACKAGE...: installs the packages that are not installed yet.
ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}"
  fi
}

# A private runtime folder keeps Qt quiet about XDG_RUNTIME_DIR.
private_runtime_dir() {
  if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d /tmp/varnock-runtime.XXXXXX)"
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
  fi
}

# The whole suite builds the same sources several times (the packages again in another folder
# for the reproducibility check): a compiler cache in the build folder, unless one is set
# already, spares the second compile. The compiler is handed no path of the folder (the
# programs hold none), so its results serve a copy of the sources in any other folder. The
# packages are built with LC_ALL=C.UTF-8, the tests' builds in the caller's locale: the locale
# changes only the language of the compiler's warnings, so it is left out of the cache's key.
use_compiler_cache() {
  ensure_packages ccache
  export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
  export CCACHE_DIR="${CCACHE_DIR:-$VARNOCK_ROOT/build/ccache}"
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$VARNOCK_ROOT}" CCACHE_NOHASHDIR=1
  export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:+$CCACHE_SLOPPINESS,}locale"
}

build_preset() {
  local preset="$1"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
}
