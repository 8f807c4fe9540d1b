#!/usr/bin/env bash
# `cpack -G DEB` of the build folder: the package's files and links, its control data (name,
# version, the libraries it depends on, the maintainer scripts), that its maintainer scripts
# survive a system without a working udevadm, and that the programs it holds run.
#   package_test.sh CPACK BUILD_DIR VERSION
set -uo pipefail
cpack=$1
build=$2
version=$3
source "$(dirname "$0")/lib.sh"

# Packages into the private folder, so that nothing is left in the build folder and parallel runs
# of other builds' tests never share a staging tree.
if ! "$cpack" -G DEB -B "$tmp/out" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log" >&2
    fail "cpack -G DEB"
    finish
fi
shopt -s nullglob
debs=("$tmp"/out/kestrel_"$version"_*.deb)
if ((${#debs[@]} != 1)); then
    ls -R "$tmp/out" >&2
    fail "expected one kestrel_${version}_<arch>.deb"
    finish
fi
deb=${debs[0]}

# The file list: "./usr/..." names, links as "name -> target".
dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' >"$tmp/files.txt"
while read -r file; do
    expect_line "$tmp/files.txt" "./usr/$file"
done < <(installed_files | grep -v '^lib/kestrel/kestrel')
expect_line "$tmp/files.txt" "./usr/bin/kestrel -> ../lib/kestrel/kestrel"
expect_line "$tmp/files.txt" "./usr/bin/kestrelctl -> ../lib/kestrel/kestrelctl"
# The programs are checked with their modes: executable by everyone, writable by root only.
dpkg-deb -c "$deb" >"$tmp/long.txt"
for program in kestrel kestrelctl; do
    grep -qE "^-rwxr-xr-x root/root .* \./usr/lib/kestrel/$program\$" "$tmp/long.txt" ||
        fail "./usr/lib/kestrel/$program missing or not 0755 root:root"
done
# Nothing in the package may be writable by others, the udev rule least of all.
if awk '$1 ~ /^.{8}w/' "$tmp/long.txt" | grep -q .; then
    fail "world-writable entries: $(awk '$1 ~ /^.{8}w/' "$tmp/long.txt")"
fi

# The control data.
dpkg-deb -I "$deb" >"$tmp/info.txt"
dpkg-deb -f "$deb" Package Version Architecture Depends >"$tmp/control.txt"
expect_line "$tmp/control.txt" "Package: kestrel"
expect_line "$tmp/control.txt" "Version: $version"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libhidapi-hidraw0 libsqlite3-0 libcurl \
    qt6-qpa-plugins; do
    [[ $depends == *"$library"* ]] || fail "Depends names no $library: $depends"
done
for script in postinst postrm; do
    grep -qE "^ +[0-9]+ bytes, +[0-9]+ lines +\* +$script " "$tmp/info.txt" ||
        fail "no executable $script in the control archive"
done

# The maintainer scripts reload udev, and carry on where udevadm is missing or fails (a container,
# a chroot).
dpkg-deb -e "$deb" "$tmp/control"
postinst=$tmp/control/postinst
grep -q 'udevadm control --reload-rules' "$postinst" || fail "postinst does not reload the rules"
grep -q 'udevadm trigger --subsystem-match=hidraw' "$postinst" || fail "postinst does not trigger hidraw"
mkdir -p "$tmp/no-udevadm" "$tmp/failing-udevadm"
printf '#!/bin/sh\necho "$*" >>"%s"\nexit 1\n' "$tmp/udevadm.calls" >"$tmp/failing-udevadm/udevadm"
chmod +x "$tmp/failing-udevadm/udevadm"
env PATH="$tmp/no-udevadm" /bin/sh "$postinst" configure || fail "postinst fails without udevadm"
env PATH="$tmp/no-udevadm" /bin/sh "$tmp/control/postrm" remove || fail "postrm fails without udevadm"
env PATH="$tmp/failing-udevadm:/usr/bin:/bin" /bin/sh "$postinst" configure ||
    fail "postinst fails when udevadm fails"
env PATH="$tmp/failing-udevadm:/usr/bin:/bin" /bin/sh "$tmp/control/postrm" remove ||
    fail "postrm fails when udevadm fails"
expect_line "$tmp/udevadm.calls" "control --reload-rules"
expect_line "$tmp/udevadm.calls" "trigger --subsystem-match=hidraw --action=change"

# The programs as packaged (stripped) still run and find their data.
dpkg-deb -x "$deb" "$tmp/root"
out=$(run_isolated "$tmp/root/usr/bin/kestrelctl" --version) || fail "packaged kestrelctl --version"
[[ $out == "kestrelctl $version" ]] || fail "packaged kestrelctl --version printed: $out"
run_isolated "$tmp/root/usr/bin/kestrelctl" --sim --data "$tmp/data" list >"$tmp/list.txt" ||
    fail "packaged kestrelctl --sim list: status $?"
expect_line "$tmp/list.txt" "model 1002 kestrel_k2 Kestrel K2 Wireless"

finish
