# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Debian packages the project needs, a function that installs the missing ones, and the
# options every build folder is configured with. Sourced by run.sh, test.sh and harden.sh.
RUN_PACKAGES=(cmake ninja-build make g++ pkg-config qt6-base-dev libsdl2-dev fonts-dejavu-core
              fonts-dejavu-extra libgtest-dev libgmock-dev)
# What the Linux build folder (build/) needs besides: the desktop tests' X11 harness, ccache.
LINUX_BUILD_PACKAGES=("${RUN_PACKAGES[@]}" libx11-dev libxtst-dev ccache)
# What tools/harden.sh builds with: test.sh installs these first and starts that build while
# the rest installs.
HARDEN_PACKAGES=(cmake ninja-build clang-14 libclang-rt-14-dev lld-14 libgtest-dev libgmock-dev
                 ccache)
TEST_PACKAGES=(xvfb xdotool trayer imagemagick x11-utils libx11-dev libxtst-dev clang-14 libclang-rt-14-dev
               sox ccache dbus dbus-bin at-spi2-core python3-pyatspi
               pocketsphinx pocketsphinx-en-us python3-pocketsphinx
               dpkg-dev file lintian desktop-file-utils appstream groff mandoc man-db reuse)
# The Windows build and its tests under Wine (tools/windows_tests.sh): the cross compiler,
# GoogleTest's sources to build for Windows, Wine; for quorblex.exe's windows, Wine's fonts (its
# "MS Sans Serif"), a private X server with a notification area, xdotool to drive it, and
# ImageMagick and xwininfo to look at it; for the packages and their check
# (tests/windows/installer.sh), makensis, and osslsigncode to sign them (openssl makes the
# check's throwaway certificate).
WINDOWS_PACKAGES=(cmake ninja-build ccache g++-mingw-w64-x86-64-posix googletest wine64
                  fonts-wine xvfb trayer xdotool imagemagick x11-utils nsis osslsigncode openssl)
# The web build and its tests (tools/web_tests.sh): Emscripten, Debian's node modules its tools
# need (node-acorn, on NODE_PATH), and headless Chromium driven through chromedriver.
WEB_PACKAGES=(cmake ninja-build ccache emscripten node-acorn chromium chromium-driver
              python3-selenium)

install_missing() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  if [ -z "${QUORBLEX_APT_UPDATED:-}" ]; then
    $sudo apt-get update -qq
    export QUORBLEX_APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

# configure_args DIR: Ninja for a new build folder (an existing one keeps its generator), and
# ccache when it is there.
configure_args() {
  if [ ! -f "$1/CMakeCache.txt" ] && command -v ninja >/dev/null; then echo "-GNinja"; fi
  if command -v ccache >/dev/null; then echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
}

# build_folder DIR CONFIGURE...: configures DIR once with the command CONFIGURE (Release,
# warnings as errors, and configure_args added), then builds it.
build_folder() {
  local dir=$1
  shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    local configure
    mapfile -t configure < <(configure_args "$dir")
    "$@" -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQUORBLEX_WERROR=ON "${configure[@]}"
  fi
  cmake --build "$dir" -j2
}

# ccache keys on paths relative to the checkout (the scripts source this file from its top), so
# a second clone reuses what the first compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-time_macros,include_file_mtime,include_file_ctime}

# configure_build [CMAKE OPTIONS...]: the one build folder, build/, that ./run.sh and ./test.sh
# share: Release with warnings as errors. Either command right after the other finds every
# object it needs already built.
configure_build() {
  local configure
  mapfile -t configure < <(configure_args build)
  cmake -S . -B build "${configure[@]}" -DCMAKE_BUILD_TYPE=Release -DQUORBLEX_WERROR=ON "$@" \
    >/dev/null
}
