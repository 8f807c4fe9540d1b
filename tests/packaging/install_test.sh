#!/usr/bin/env bash
# `cmake --install` of the build folder, to a prefix and under DESTDIR: the layout, the relative
# links, and that the installed programs run from <prefix>/bin and find their data.
#   install_test.sh CMAKE BUILD_DIR
set -uo pipefail
cmake=$1
build=$2
source "$(dirname "$0")/lib.sh"

check_layout() {
    local prefix=$1 file program
    while read -r file; do
        [[ -f $prefix/$file ]] || fail "not installed: $prefix/$file"
    done < <(installed_files)
    for program in kestrel kestrelctl; do
        [[ -L $prefix/bin/$program ]] || fail "$prefix/bin/$program is no symbolic link"
        [[ $(readlink "$prefix/bin/$program") == "../lib/kestrel/$program" ]] ||
            fail "$prefix/bin/$program points at $(readlink "$prefix/bin/$program")"
        [[ -x $prefix/lib/kestrel/$program ]] || fail "$prefix/lib/kestrel/$program is not executable"
    done
    cmp -s "$build/bin/70-kestrel.rules" "$prefix/lib/udev/rules.d/70-kestrel.rules" ||
        fail "the installed udev rule differs from the build's"
}

prefix=$tmp/prefix/usr
"$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; fail "cmake --install --prefix"; finish; }
check_layout "$prefix"

out=$(run_isolated "$prefix/bin/kestrelctl" --version) || fail "kestrelctl --version: status $?"
[[ $out =~ ^kestrelctl\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "kestrelctl --version printed: $out"
out=$(run_isolated "$prefix/bin/kestrel" --version) || fail "kestrel --version: status $?"
[[ $out =~ ^kestrel\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "kestrel --version printed: $out"

# Reached through the link, the program must still find config.xml beside its real file.
run_isolated "$prefix/bin/kestrelctl" --sim --data "$tmp/data" list >"$tmp/list.txt" 2>"$tmp/list.err" ||
    fail "kestrelctl --sim list: status $? ($(cat "$tmp/list.err"))"
expect_line "$tmp/list.txt" "model 1001 kestrel_k1 Kestrel K1 Wired"
expect_line "$tmp/list.txt" "model 1003 kestrel_k2_pro Kestrel K2 Pro"
grep -q '^mouse 1001 ' "$tmp/list.txt" || fail "kestrelctl --sim list found no virtual mouse"
[[ -f $tmp/data/db/kestrel_k1_data.db ]] || fail "no settings database in --data"

# Packagers install under DESTDIR with the final prefix; the links stay relative.
DESTDIR=$tmp/stage "$cmake" --install "$build" --prefix /usr >"$tmp/stage.log" 2>&1 ||
    { cat "$tmp/stage.log" >&2; fail "cmake --install with DESTDIR"; }
check_layout "$tmp/stage/usr"
run_isolated "$tmp/stage/usr/bin/kestrelctl" --version >/dev/null ||
    fail "kestrelctl --version under DESTDIR"

finish
