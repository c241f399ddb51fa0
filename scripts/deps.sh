# Sourced by scripts/run and scripts/test: installs the Debian packages that are missing.
# One package a line, with what needs it.
VELORAND_PACKAGES=(
    cmake               # the build
    ninja-build         # the build
    g++                 # the build
    pkg-config          # Qt's CMake files find xkbcommon with it
    qt6-base-dev        # Qt Widgets, with moc, uic, rcc and the OpenGL headers Qt's CMake files ask for
    xvfb                # a display of their own for tst_programend and the accessibility test; xvfb-run
    xauth               # xvfb-run, which the message for a missing display offers
    desktop-file-utils  # the install test validates the desktop entry
    appstream           # the install test validates the AppStream metadata
    dpkg-dev            # the Debian package: dpkg-shlibdeps works out its dependencies
    file                # the Debian package: CPack finds the programs to give dpkg-shlibdeps with it
    python3-pyatspi     # the accessibility test reads the running window over AT-SPI, as a screen reader does
    at-spi2-core        # the accessibility test: the AT-SPI bus
    dbus-daemon         # the accessibility test: a session bus of its own (dbus-run-session)
)

velorand_missing_packages() {
    local p
    for p in "${VELORAND_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

velorand_explain_root_needed() {
    cat >&2 <<EOF
Velorand needs these Debian packages, which are not installed: $*
Installing them takes root. Run this as root, then run scripts/$(basename "$0") again:

    apt-get update && apt-get install --no-install-recommends $*
EOF
}

# Runs apt-get as root (through sudo when there is one) with its output in a log that is shown
# only when it fails. Without root the message above names the packages, and the script ends with 1.
velorand_install_deps() {
    local missing
    missing=$(velorand_missing_packages | tr '\n' ' ')
    missing=${missing% }
    [ -z "$missing" ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            velorand_explain_root_needed "$missing"
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "Installing Debian packages: $missing"
    local log
    log=$(mktemp)
    # shellcheck disable=SC2086  # one word a package
    if ! { "${sudo[@]}" apt-get update -qq && DEBIAN_FRONTEND=noninteractive "${sudo[@]}" \
            apt-get install -y -qq --no-install-recommends $missing; } >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        [ ${#sudo[@]} -eq 0 ] || velorand_explain_root_needed "$missing"
        exit 1
    fi
    rm -f "$log"
}

# velorand_build DIR [cmake options...] [-- targets...]: configure (once) and build into DIR, only
# the targets given after --, everything without them.
velorand_build() {
    local dir=$1; shift
    local options=() targets=() t
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    for t in "$@"; do targets+=(--target "$t"); done
    cmake -S "$VELORAND_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
}
