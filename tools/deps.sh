# Installs the Debian packages the build and the tests need, only those missing.
# Sourced by ./run and ./test.
VANTOR_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libvorbis-dev libfluidsynth-dev libsdl2-dev timgm6mb-soundfont
  fonts-noto-cjk qt6-translations-l10n
  xvfb openbox xdotool wmctrl x11-utils imagemagick
)

vantor_install_deps() {
  local missing=()
  for p in "${VANTOR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}
