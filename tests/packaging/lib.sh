# Helpers of the packaging tests; sourced by them.

failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect_line FILE LINE: FILE holds LINE as one whole line.
expect_line() {
    grep -qxF -- "$2" "$1" || fail "$1 lacks the line: $2"
}

# A private temporary folder, removed at the end; $tmp names it.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-pack-XXXXXX")
trap 'rm -rf "$tmp"' EXIT

# Runs an installed program with a home, settings, data and runtime folder of its own, so that it
# neither touches the user's files nor hands its command line to a Kestrel the user runs.
run_isolated() {
    mkdir -p "$tmp/home" "$tmp/run"
    chmod 700 "$tmp/run"
    env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share" \
        XDG_RUNTIME_DIR="$tmp/run" KESTREL_DATA_DIR= "$@"
}

# The files every installation holds, relative to its prefix.
installed_files() {
    local app=io.github.kestrel.Kestrel
    printf '%s\n' \
        lib/kestrel/kestrel lib/kestrel/kestrelctl lib/kestrel/config.xml \
        lib/kestrel/device/kestrel_k1.xml lib/kestrel/device/kestrel_k2.xml \
        lib/kestrel/device/kestrel_k2_pro.xml lib/kestrel/language/1033.lan \
        lib/kestrel/language/2052.lan lib/kestrel/skins/default/Cockpit.ico \
        lib/kestrel/70-kestrel.rules lib/udev/rules.d/70-kestrel.rules \
        share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
        share/man/man1/kestrel.1.gz share/man/man1/kestrelctl.1.gz
    local size
    for size in 16 32 48 64 128 256; do
        echo "share/icons/hicolor/${size}x${size}/apps/$app.png"
    done
}

finish() {
    if ((failures > 0)); then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}
