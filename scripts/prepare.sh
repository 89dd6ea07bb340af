# Shared by scripts/play and scripts/test: installs what is missing, then configures and builds into build/.

PACKAGES="cmake g++ make pkg-config liballegro4-dev libx11-dev libgtest-dev xvfb x11-utils netpbm procps dpkg-dev
          python3 python3-xlib python3-pil"
# One time for everything the builds stamp, the last commit's, so that every clone packs the same bytes; the
# packaging tools honour it.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
# Debian's own Python, which has the X and picture modules above, whatever python3 comes first on the PATH.
PYTHON=/usr/bin/python3

install_missing_packages() {
    local missing="" package
    for package in $PACKAGES; do
        dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
    done
    if [ -z "$missing" ]; then
        echo "All needed packages are installed."
        return
    fi
    echo "Installing missing packages:$missing"
    $(sudo_if_needed) apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $(sudo_if_needed) apt-get install -y -q --no-install-recommends $missing
}

sudo_if_needed() {
    [ "$(id -u)" -eq 0 ] || echo sudo
}

build_game() {
    echo "Configuring and building into build/ ..."
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
}
