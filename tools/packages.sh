# Debian packages the project needs, and a function that installs the missing ones.
# Sourced by run.sh and test.sh.
RUN_PACKAGES=(cmake make g++ pkg-config qt6-base-dev libsdl2-dev fonts-dejavu-core
              libgtest-dev libgmock-dev)
TEST_PACKAGES=(xvfb xdotool trayer imagemagick x11-utils libx11-dev clang-14 libclang-rt-14-dev
               dpkg-dev file lintian desktop-file-utils appstream groff mandoc man-db)

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
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}
