# Installs the Debian packages given as arguments that are not installed yet.
# Sourced by the scripts in scripts/.

install_missing() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What every build needs: the compiler and the libraries (libcsv for tables),
# Qt 6 for the window.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libcli11-dev nlohmann-json3-dev libcsv-dev
                qt6-base-dev)
# What the window needs to run as it should: Qt's own Chinese texts and a font
# for Simplified and Traditional Chinese characters.
RUN_PACKAGES=(qt6-translations-l10n fonts-wqy-microhei)
# What the screenshots need: a virtual X display, and a dark desktop style.
SCREENSHOT_PACKAGES=(xvfb xauth adwaita-qt6)
# What the tests need besides: GoogleTest and the independent EXIF readers.
TEST_PACKAGES=(libgtest-dev libgmock-dev libimage-exiftool-perl exiv2)
# What the desktop files' checks need.
DESKTOP_CHECK_PACKAGES=(desktop-file-utils appstream)
# What making the Debian package needs: dpkg-shlibdeps finds its dependencies,
# dpkg-buildflags gives Debian's compiler flags, gzip compresses the manual
# pages and the changelog, lintian checks the package.
PACKAGE_PACKAGES=(dpkg-dev file gzip lintian)
# What the fuzzing harnesses need: clang with libFuzzer and the sanitizer runtimes.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
