# Sourced by scripts/run and scripts/test: installs the Debian packages that are missing.
# Each package is needed at build time, for the tests, or for running the window and the board.
VELORAND_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
    xvfb xauth imagemagick socat procps
    # The accessibility test reads the running window as a screen reader does: over AT-SPI, on
    # a session bus of its own.
    python3-pyatspi at-spi2-core dbus-daemon
)

velorand_install_deps() {
    local missing=()
    for p in "${VELORAND_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# velorand_build DIR [cmake options...]: configure (once) and build everything into DIR.
velorand_build() {
    local dir=$1; shift
    cmake -S "$VELORAND_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}
