#!/usr/bin/env bash
# The man pages format without a warning, and document every option and command the programs'
# own usage texts name, and every exit status of kestrelctl.
#   man_pages_test.sh SOURCE_DIR KESTREL KESTRELCTL
set -uo pipefail
source_dir=$1
kestrel=$2
kestrelctl=$3
source "$(dirname "$0")/lib.sh"

command -v groff >/dev/null || { fail "groff is missing (Debian: groff-base)"; finish; }

# check_page PAGE PROGRAM: a tag of PAGE (a line indented by seven columns in its plain-text
# form) starts with each option and command of PROGRAM --help, as a word of its own.
check_page() {
    local page=$source_dir/packaging/man/$1 program=$2 text=$tmp/$1.txt word
    groff -man -Tascii -P-cbou -ww "$page" >"$text" 2>"$tmp/$1.warnings" ||
        fail "groff cannot format $1"
    [[ ! -s $tmp/$1.warnings ]] || fail "groff warns about $1: $(cat "$tmp/$1.warnings")"
    # Usage lines "  --data DIR   ..." and "  export-macro ID FILE": the first word, without
    # its "[=...]" part.
    while read -r word; do
        awk -v tag="       $word" '
            index($0, tag) == 1 && substr($0, length(tag) + 1, 1) ~ /^([ [=]|)$/ { found = 1 }
            END { exit !found }' "$text" || fail "$1 does not document $word"
    done < <(run_isolated "$program" --help | grep -E '^  [^ ]' | awk '{ print $1 }' | sed 's/\[.*//')
}

check_page kestrel.1 "$kestrel"
check_page kestrelctl.1 "$kestrelctl"
for status in 0 1 2 3 4 5 6 7; do
    grep -qE "^ {7}$status( |\$)" "$tmp/kestrelctl.1.txt" ||
        fail "kestrelctl.1 does not document exit status $status"
done

finish
