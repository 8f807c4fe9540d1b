# Debian packages the build, the tests and the benchmarks need; sourced by the scripts.
KESTREL_PACKAGES=(
    cmake ninja-build g++ ccache pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    libexpat1-dev libxml2-dev libpugixml-dev
    libsqlite3-dev libhidapi-dev libudev-dev libx11-dev libxi-dev
    libcurl4-openssl-dev libminizip-dev zlib1g-dev
    qt6-base-dev qt6-qpa-plugins fonts-open-sans fonts-noto-cjk
    xvfb xdotool python3
    # The update benchmark's reference download and unpacking.
    curl unzip
    # The Debian package (cpack -G DEB finds the ELF files with file and their libraries with
    # dpkg-shlibdeps) and the checks of the desktop entry, the AppStream metainfo and the man pages.
    dpkg-dev file desktop-file-utils appstream groff-base
)

# Installs whichever of KESTREL_PACKAGES is missing: one `apt-get update`, then one install.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "${KESTREL_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
}

# kestrelctl --json writes its documents with nlohmann/json (header-only).
KESTREL_PACKAGES+=(nlohmann-json3-dev)
