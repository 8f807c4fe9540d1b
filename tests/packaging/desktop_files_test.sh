#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators and name each other, the
# installed icon and the installed program consistently.
#   desktop_files_test.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
source "$(dirname "$0")/lib.sh"

app=io.github.kestrel.Kestrel
desktop=$source_dir/packaging/$app.desktop
metainfo=$source_dir/packaging/$app.metainfo.xml

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/lib/packages.sh installs it)"
done
((failures == 0)) || finish

desktop-file-validate "$desktop" >"$tmp/desktop.txt" 2>&1 ||
    fail "desktop-file-validate: $(cat "$tmp/desktop.txt")"
# desktop-file-validate exits 0 on hints and warnings; only a silent run is clean.
[[ ! -s $tmp/desktop.txt ]] || fail "desktop-file-validate: $(cat "$tmp/desktop.txt")"
# appstreamcli wants the file under its own name to check the id against it.
appstreamcli validate --no-net "$metainfo" >"$tmp/metainfo.txt" 2>&1 ||
    fail "appstreamcli validate: $(cat "$tmp/metainfo.txt")"
if grep -qE '^[EW]: ' "$tmp/metainfo.txt"; then
    fail "appstreamcli validate: $(cat "$tmp/metainfo.txt")"
fi

expect_line "$desktop" "Exec=kestrel"
expect_line "$desktop" "Icon=$app"
grep -qF "<id>$app</id>" "$metainfo" || fail "the metainfo's id is not $app"
grep -qF "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app.desktop"

finish
