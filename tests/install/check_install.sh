#!/bin/sh
# Installs the build into a scratch prefix and checks what a desktop needs of it: the programs,
# a launcher and an AppStream description that their validators accept, the icon at every size
# the theme offers, the manual page, and a program that answers --version without a display.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.ondrava.Ondrava
fail() { echo "$*" >&2; exit 1; }
for f in bin/ondrava bin/ondrava-clipboard "share/applications/$id.desktop" \
         "share/metainfo/$id.metainfo.xml" "share/icons/hicolor/scalable/apps/$id.svg" \
         share/man/man1/ondrava.1; do
    [ -s "$prefix/$f" ] || fail "not installed: $f"
done
for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -s "$png" ] || fail "no ${size} px icon"
    # The width and height in the PNG header, big-endian at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$dims" = "${size}x${size}" ] || fail "the ${size} px icon is $dims"
done

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
grep -qx 'Exec=ondrava %f' "$prefix/share/applications/$id.desktop" || fail "Exec line"
grep -qx 'MimeType=image/bmp;image/jpeg;image/gif;image/png;image/tiff;' \
    "$prefix/share/applications/$id.desktop" || fail "MimeType line"
[ -z "$(groff -man -ww -z "$prefix/share/man/man1/ondrava.1" 2>&1)" ] || fail "the man page has faults"
[ "$(env -u DISPLAY "$prefix/bin/ondrava" --version)" = "ondrava 1.2" ] || fail "--version"
