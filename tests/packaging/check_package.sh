#!/usr/bin/env bash
# Builds the Debian package from a built tree with CPack, checks its control fields and file
# layout, unpacks it with dpkg -x and runs the unpacked programs.
#   check_package.sh BUILD_DIR SOURCE_DIR VERSION BUILT_TESK_CLI CPACK
set -euo pipefail
build=$1 source=$2 version=$3 built_cli=$4 cpack=$5
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tesk_package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
deb=$scratch/out/tesk_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
    echo "FAIL: no $(basename "$deb"); cpack wrote: $(ls "$scratch/out")" >&2
    exit 1
fi

# Control fields: the dependencies must come from the linked libraries (shlibdeps).
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tesk ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
name_and_address='^[^<]+ <[^@>]+@[^>]+>$'
[[ "$(field Maintainer)" =~ $name_and_address ]] || fail "Maintainer '$(field Maintainer)'"
for lib in libc6 libstdc++6 libqt6widgets6 libpng16-16 libjpeg62-turbo; do
    [[ ", $(field Depends)" == *", $lib"* ]] || fail "Depends lacks $lib: $(field Depends)"
done
[ "$(field Description | wc -l)" -ge 3 ] || fail "no long description"

# Layout: exactly these files; programs alone in bin/, pictures under share/tesk/effect/.
dpkg-deb -c "$deb" >"$scratch/listing"
awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' "$scratch/listing" | sort >"$scratch/files"
{
    printf '%s\n' /usr/bin/tesk /usr/bin/tesk-cli /usr/share/applications/tesk.desktop \
        /usr/share/icons/hicolor/48x48/apps/tesk.png /usr/share/icons/hicolor/256x256/apps/tesk.png \
        /usr/share/mime/packages/tesk.xml /usr/share/man/man1/tesk.1.gz \
        /usr/share/man/man1/tesk-cli.1.gz /usr/share/doc/tesk/copyright \
        /usr/share/doc/tesk/changelog.gz /usr/share/doc/tesk/manual.html \
        /usr/share/doc/tesk/changes.html
    for picture in "$source"/res/effect/*.png; do
        echo "/usr/share/tesk/effect/$(basename "$picture")"
    done
} | sort >"$scratch/expected"
diff "$scratch/expected" "$scratch/files" >&2 || fail "files differ from the layout (< missing, > extra)"
awk '$6 ~ /^\.\/usr\/bin\/./ && $1 != "-rwxr-xr-x" { print $1, $6 }' "$scratch/listing" \
    >"$scratch/bad-bin"
[ ! -s "$scratch/bad-bin" ] || fail "not a program in bin/: $(cat "$scratch/bad-bin")"

root=$scratch/root
dpkg -x "$deb" "$root"
share=$root/usr/share

# The programs answer from the unpacked copy; the editor without opening a display.
out=$("$root/usr/bin/tesk-cli" --version) || fail "tesk-cli --version exits $?"
[ "$out" = "tesk-cli $version" ] || fail "tesk-cli --version printed '$out'"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=none "$root/usr/bin/tesk" --version) ||
    fail "tesk --version exits $?"
[ "$out" = "TESK ( Brenmold ) $version" ] || fail "tesk --version printed '$out'"

# The unpacked tool with the unpacked pictures renders what the built one does with the
# pictures of the source tree, and the effects change the map.
render() {
    local cli=$1 pictures=$2 out=$3
    "$cli" render "$source/examples/vase.tsk" "$out" --effect "normal:$pictures/ridges.png:40" \
        --effect "composite:$pictures/dome.png:50"
}
render "$root/usr/bin/tesk-cli" "$share/tesk/effect" "$scratch/unpacked.bmp" ||
    fail "unpacked tesk-cli render exits $?"
render "$built_cli" "$source/res/effect" "$scratch/built.bmp"
"$built_cli" render "$source/examples/vase.tsk" "$scratch/plain.bmp"
cmp -s "$scratch/unpacked.bmp" "$scratch/built.bmp" || fail "unpacked render differs from built"
! cmp -s "$scratch/built.bmp" "$scratch/plain.bmp" || fail "the effects changed nothing"

# Desktop integration fits together: the menu entry starts an installed program for the
# MIME type that the .tsk pattern gives.
desktop=$share/applications/tesk.desktop
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not in /usr/bin"
mime=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$share/mime/packages/tesk.xml")
grep -q '<glob pattern="\*\.tsk"/>' "$share/mime/packages/tesk.xml" || fail "no *.tsk pattern"
grep -q "^MimeType=.*$mime;" "$desktop" || fail "the menu entry does not open $mime"

# Manual pages format without warnings and name this version; the changelog names it too.
for page in "$share"/man/man1/*.1.gz; do
    zgrep -q "tesk $version" "$page" || fail "$(basename "$page") does not name version $version"
    if command -v man >/dev/null; then
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 \
            >/dev/null)
        [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
    fi
done
zcat "$share/doc/tesk/changelog.gz" | head -1 | grep -q "^tesk ($version) " ||
    fail "packaging/changelog has no entry for $version"

# Debian's own checker, where installed: errors fail, warnings are shown.
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >&2 || fail "lintian reports errors"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures package check(s) failed" >&2
    exit 1
fi
echo "package $(basename "$deb"): layout, unpacked programs and desktop files as expected"
