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

# What every build needs.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libcli11-dev nlohmann-json3-dev)
# What the tests need besides: GoogleTest and the independent EXIF readers.
TEST_PACKAGES=(libgtest-dev libgmock-dev libimage-exiftool-perl exiv2)
# What the fuzzing harnesses need: clang with libFuzzer and the sanitizer runtimes.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
