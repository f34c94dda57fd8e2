#!/usr/bin/env bash
# The Debian package as a distribution would judge it: lintian finds no
# error and no warning, the menu entry and the AppStream file validate, the
# manual page formats without a warning, every file is where a player's
# system expects it, and the package depends on what the game needs at run
# time.
set -u
BUILD=$1
. "$(dirname "$0")/make_package.sh"
work=$(mktemp -d /tmp/tolvane-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

make_package "$BUILD" "$work" || fail "cpack could not make the package"
echo "package: $(basename "$DEB")"
case $(basename "$DEB") in
    tolvane_*_"$(dpkg --print-architecture)".deb) ;;
    *) fail "the package is named $(basename "$DEB"), not tolvane_<version>_<arch>.deb" ;;
esac

# [SECTION] lintian: no error, no warning.
lintian --tag-display-limit 0 "$DEB" >"$work/lintian.txt" 2>&1
cat "$work/lintian.txt"
! grep -qE '^[EW]: ' "$work/lintian.txt" || fail "lintian reports errors or warnings"

# [SECTION] What is in it.
root=$work/root
dpkg-deb -x "$DEB" "$root"
for path in usr/games/tolvane usr/lib/games/tolvane/tolvane \
            usr/share/games/tolvane/profile.txt usr/share/games/tolvane/gfx/tilesets/classic.tga \
            usr/share/games/tolvane/gfx/icon.tga usr/share/games/tolvane/sound/music.mp3 \
            usr/share/games/tolvane/levels/Tutorial.txt usr/share/games/tolvane/levels/LevelSet10.txt \
            usr/share/applications/org.halvoren.tolvane.desktop \
            usr/share/metainfo/org.halvoren.tolvane.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/tolvane.svg \
            usr/share/man/man6/tolvane.6.gz usr/share/doc/tolvane/copyright usr/share/doc/tolvane/changelog.gz; do
    [ -e "$root/$path" ] || fail "the package has no /$path"
done
for size in 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/tolvane.png
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size}x${size} icon"
done
[ -x "$root/usr/games/tolvane" ] && [ -x "$root/usr/lib/games/tolvane/tolvane" ] || fail "the programs are not executable"
cmp -s "$root/usr/share/games/tolvane/profile.txt" "$(dirname "$0")/../../data/profile.txt" ||
    fail "the shared profile is not the fresh one"
[ -z "$(dpkg-deb -c "$DEB" | awk '$6 !~ /^\.\/usr\//')" ] || fail "the package puts files outside /usr"

depends=$(dpkg-deb -f "$DEB" Depends)
echo "Depends: $depends"
for needed in fonts-liberation2 libsdl2-mixer libglut libfreetype6 libfontconfig1; do
    grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed"
done

# [SECTION] The menu entry, the AppStream file and the manual page.
desktop-file-validate "$root/usr/share/applications/org.halvoren.tolvane.desktop" || fail "desktop-file-validate refuses the menu entry"
grep -qx 'StartupWMClass=Tolvane' "$root/usr/share/applications/org.halvoren.tolvane.desktop" || fail "no StartupWMClass=Tolvane"
grep -qx 'Categories=Game;LogicGame;' "$root/usr/share/applications/org.halvoren.tolvane.desktop" || fail "not in Game;LogicGame;"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.halvoren.tolvane.metainfo.xml" >"$work/appstream.txt" 2>&1
status=$?
cat "$work/appstream.txt"
[ "$status" = 0 ] || fail "appstreamcli refuses the metainfo file"
grep -qE '^[EWIP]: ' "$work/appstream.txt" && fail "appstreamcli has remarks on the metainfo file"
version=$(dpkg-deb -f "$DEB" Version)
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.halvoren.tolvane.metainfo.xml" ||
    fail "the metainfo file does not name release $version"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man6/tolvane.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$root/usr/share/man/man6/tolvane.6.gz" 2>/dev/null)
for heading in NAME SYNOPSIS DESCRIPTION CONTROLS FILES; do
    grep -q "^$heading" <<<"$page" || fail "the manual page has no $heading"
done
grep -q "local/share/tolvane" <<<"$page" || fail "the manual page does not say where progress is kept"
echo "PASS: lintian clean, menu entry, AppStream file and manual page valid, files in place"
