# shellcheck shell=bash
# Shared by scripts/play and scripts/test: installs what is missing, then configures and builds into build/.

PACKAGES="cmake g++ make pkg-config liballegro4-dev libx11-dev libgtest-dev xvfb x11-utils netpbm procps dpkg-dev
          python3 python3-xlib python3-pil openbox"
# One time for everything the builds stamp, the last commit's, so that every clone packs the same bytes; the
# packaging tools honour it.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
# Debian's own Python, which has the X and picture modules above, whatever python3 comes first on the PATH.
# shellcheck disable=SC2034  # the scripts that source this file use it
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

# The library's upstream source from Debian's source package, fetched once into build-source/ and checked against
# the .dsc that vouches for it; prints the tarball's path. The Windows build compiles it; the fuzz build
# instruments its BMP loader.
library_source() {
    local folder=build-source orig expected
    mkdir -p "$folder"
    if ! ls "$folder"/allegro4.4_*.orig.tar.gz >/dev/null 2>&1; then
        echo "Fetching the library's source from Debian ..." >&2
        if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
            echo "Adding Debian's source packages to the apt sources ..." >&2
            printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\n%s\n' \
                'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
                $(sudo_if_needed) tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
            $(sudo_if_needed) apt-get update -q >&2
        fi
        # Only the upstream tarball and the .dsc that vouches for it are needed; Debian's own packaging may not come.
        (cd "$folder" && apt-get source --download-only allegro4.4 >/dev/null 2>&1) || true
    fi
    orig=$(ls "$folder"/allegro4.4_*.orig.tar.gz)
    expected=$(awk '/^Checksums-Sha256:/ {on = 1; next} /^[^ ]/ {on = 0} on && $3 ~ /orig.tar.gz$/ {print $1}' \
        "$folder"/allegro4.4_*.dsc)
    if [ "$(sha256sum "$orig" | cut -d' ' -f1)" != "$expected" ]; then
        echo "The library's source does not match its checksum in the .dsc: $orig" >&2
        return 1
    fi
    echo "$orig"
}

build_game() {
    echo "Configuring and building into build/ ..."
    build_preset default
}

# Configures and builds one of CMakePresets.json's builds.
build_preset() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$(nproc 2>/dev/null || echo 2)"
}
