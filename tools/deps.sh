# Installs the Debian packages the build needs when any is missing.
# Sourced by ./run and ./test; uses sudo when not root.

orvel_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
                libbenchmark-dev xvfb xauth fonts-dejavu-core fonts-liberation2
                qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
                poppler-utils qt6-translations-l10n ccache)

install_deps() {
    local missing=()
    for p in "${orvel_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# ccache speeds up rebuilds; paths below the checkout's parent are hashed relative to it, so
# that several checkouts side by side share what was compiled. The build works without it.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$PWD")}"
# The build directory is left out of the hash too: the test build carries debug information,
# which ccache otherwise keys to the directory it was compiled in.
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
cmake_launcher_args() {
    if command -v ccache >/dev/null 2>&1; then
        echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    fi
}
