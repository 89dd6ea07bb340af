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

# The machine's Debian archive as its own apt sources name it: the address, the release and the signing key (if
# named) of the first source of binary packages, in Debian's deb822 files or the one-line list.
debian_archive() {
    {
        awk '
            function flush() { if (deb && uri && suite && !done) { print uri, suite, key; done = 1; exit }
                               deb = 0; uri = suite = key = "" }
            FNR == 1 || /^[ \t]*$/ { flush() }
            tolower($1) == "types:" { for (i = 2; i <= NF; i++) deb = deb || $i == "deb" }
            tolower($1) == "uris:" { uri = $2 }
            tolower($1) == "suites:" { suite = $2 }
            tolower($1) == "signed-by:" { key = $2 }
            END { flush() }' /etc/apt/sources.list.d/*.sources
        # The one-line list: "deb [options] address release components".
        awk '$1 == "deb" { i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ } print $i, $(i + 1); exit }' \
            /etc/apt/sources.list
    } 2>/dev/null | head -n 1
}

# Lets apt install another architecture's packages beside the machine's own, from the machine's own sources.
add_architecture() {
    dpkg --print-foreign-architectures | grep -qx "$1" && return
    echo "Adding Debian's $1 packages to apt ..."
    $(sudo_if_needed) dpkg --add-architecture "$1"
    $(sudo_if_needed) apt-get update -q
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
            echo "Adding Debian's source packages to the apt sources, from the machine's own archive ..." >&2
            debian_archive | awk '{ printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\n", $1, $2 }
                                  $3 { print "Signed-By: " $3 }' |
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

# Builds the library from its source into $1/allegro, patched, with its own options and the configure command that
# follows the inputs (cmake with a toolchain file, or emcmake cmake): its drivers and documentation only. $2 names
# the files of ours it is also built from; a folder among them is laid over the source first. Only when something it
# is built from changed, and then everything built with the older library goes too.
build_library() {
    local out=$1 inputs=$2 orig stamp input
    shift 2
    orig=$(library_source)
    # Reproducible: the library's objects name no folder of this clone.
    local flags="-ffile-prefix-map=$PWD/$out/allegro-src/= -ffile-prefix-map=$PWD/$out/allegro-build/="
    # shellcheck disable=SC2086  # the inputs are words
    stamp=$( (cat "$orig" patches/allegro/*.patch; find $inputs -type f | LC_ALL=C sort | xargs cat; echo "$flags $*") |
        sha256sum | cut -d' ' -f1)
    [ "$(cat "$out/allegro/stamp" 2>/dev/null)" = "$stamp" ] && return
    echo "Patching and building the library into $out/allegro (a minute or two) ..."
    rm -rf "$out/allegro-src" "$out/allegro-build" "$out/allegro" "$out/gtest-build" "$out/gtest" "$out/game"
    mkdir -p "$out/allegro-src"
    tar xzf "$orig" -C "$out/allegro-src" --strip-components=1
    for p in patches/allegro/*.patch; do
        patch -s -d "$out/allegro-src" -p1 < "$p"
    done
    for input in $inputs; do
        [ ! -d "$input" ] || cp -r "$input/." "$out/allegro-src/"
    done
    "$@" -S "$out/allegro-src" -B "$out/allegro-build" -Wno-dev -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$flags" \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
        -DCMAKE_INSTALL_PREFIX="$PWD/$out/allegro" -DSHARED=OFF -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF \
        -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF \
        >/dev/null
    # The library's own warnings are many and not ours to mend: they go to a log, shown if the build fails.
    if ! cmake --build "$out/allegro-build" -j "$(nproc)" --target install >"$out/allegro-build.log" 2>&1; then
        tail -n 40 "$out/allegro-build.log"
        return 1
    fi
    echo "$stamp" > "$out/allegro/stamp"
}

# Builds GoogleTest from Debian's source of it into $1/gtest, once, with the configure command that follows.
build_gtest() {
    local out=$1
    shift
    [ ! -e "$out/gtest/stamp" ] || return 0
    echo "Building GoogleTest into $out/gtest from Debian's source of it ..."
    "$@" -S /usr/src/googletest -B "$out/gtest-build" -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF \
        -DCMAKE_INSTALL_PREFIX="$PWD/$out/gtest" >/dev/null
    cmake --build "$out/gtest-build" -j "$(nproc)" --target install >/dev/null
    touch "$out/gtest/stamp"
}

# Zips the folder $2 of $1 into $3, the same bytes from every clone: the last commit's time on every file, fixed
# permissions, a sorted order, no Unix extras.
pack_zip() {
    local zip
    zip=$(realpath -m "$3")
    find "$1" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
    chmod -R u=rwX,go=rX "$1"
    rm -f "$zip"
    (cd "$1" && find "$2" | LC_ALL=C sort | TZ=UTC zip -qX "$zip" -@)
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
