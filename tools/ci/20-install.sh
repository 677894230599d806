#!/bin/bash
# The installed program: a staged install tree (every file in its FHS place, the
# desktop entry and metainfo valid), the Debian package (control fields, contents,
# lintian without errors), and the installed binary started as the menu starts it.
# Uses build/release as tools/setup.sh left it.
set -euo pipefail
top=${QUORLIN_TOP:?}
build=${QUORLIN_BUILD:-$top/build/release}  # another build folder for a local run
tmp=$(mktemp -d)
app=org.quorlin.Quorlin
win= xvfb=
cleanup() {
    for pid in $win $xvfb; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "--- install tree"
DESTDIR=$tmp/stage cmake --install "$build" --prefix /usr >/dev/null
usr=$tmp/stage/usr
for f in bin/quorlin share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/icons/hicolor/scalable/apps/$app.svg share/quorlin/red.she share/quorlin/Language.ini \
         lib/udev/rules.d/70-quorlin.rules share/man/man1/quorlin.1.gz share/doc/quorlin/copyright; do
    [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
done
for size in 48 128 256; do
    file "$usr/share/icons/hicolor/${size}x$size/apps/$app.png" | grep -q "PNG image data, $size x $size" ||
        fail "no $size x $size icon"
done
entry=$usr/share/applications/$app.desktop
desktop-file-validate "$entry"
appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml"
# The entry speaks Japanese as the window does; the window's class is checked below.
for key in 'Name\[ja\]' 'GenericName\[ja\]' 'Comment\[ja\]' StartupWMClass; do
    grep -qE "^$key=.+" "$entry" || fail "the desktop entry lacks $key"
done
grep -q '<project_license>MIT</project_license>' "$usr/share/metainfo/$app.metainfo.xml" ||
    fail "metainfo: project_license is not MIT"
# Machine-readable (DEP-5), one licence for every file, its text included.
copyright=$usr/share/doc/quorlin/copyright
head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' ||
    fail "copyright: not in DEP-5 form"
[ "$(grep -c '^License: Expat$' "$copyright")" = 2 ] || fail "copyright: not the MIT (Expat) licence"
grep -q 'Permission is hereby granted, free of charge' "$copyright" || fail "copyright: no licence text"

# --version prints and ends without a display (xcb with no DISPLAY would abort), and
# names the licence; the demo says in --help and --version that its light is simulated.
for program in quorlin quorlinctl quorlin-demo; do
    version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/$program" --version)
    echo "$version"
    [[ $version =~ ^$program\ [0-9]+\.[0-9]+ ]] || fail "$program --version printed '$version'"
    [[ $version == *"Licence: MIT"* ]] || fail "$program --version names no licence"
done
for option in --help --version; do
    for program in quorlin quorlin-demo; do
        text=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/$program" $option)
        simulated=no
        [[ $text == *"simulated light"* ]] && simulated=yes
        [ $simulated = "$([ $program = quorlin-demo ] && echo yes || echo no)" ] ||
            fail "$program $option: 'simulated light' mentioned: $simulated"
    done
done

echo "--- the menu entry's command with a fresh HOME"
exec_line=$(sed -n 's/^Exec=//p' "$usr/share/applications/$app.desktop")
mkdir -p "$tmp/home" "$tmp/run"
chmod 700 "$tmp/run"
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$tmp/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
display=:$(cat "$tmp/display")
# Started from / with the installed quorlin first in PATH, as a menu would.
(cd / && exec env -i PATH="$usr/bin:$PATH" HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run" DISPLAY="$display" \
    sh -c "exec $exec_line") >"$tmp/menu.out" 2>&1 &
win=$!
caption='"Quorlin Sivane Setting Tool V2.3"'
shown=no
for _ in $(seq 300); do
    tree=$(xwininfo -display "$display" -root -tree 2>/dev/null || true)
    [[ $tree == *"$caption"* ]] && { shown=yes; break; }
    sleep 0.1
done
[ $shown = yes ] || { cat "$tmp/menu.out" >&2; fail "no window captioned $caption"; }
# A launcher groups the window under its menu entry by the class part of WM_CLASS.
window=$(grep -m 1 -F "$caption" <<<"$tree" | awk '{ print $1 }')
wm_class=$(xprop -display "$display" -id "$window" WM_CLASS)
echo "$wm_class"
class=$(sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p' <<<"$wm_class")
[ -n "$class" ] && [ "$class" = "$(sed -n 's/^StartupWMClass=//p' "$entry")" ] ||
    fail "StartupWMClass does not match the window's class '$class'"
cmp "$tmp/home/.config/quorlin/Language.ini" "$usr/share/quorlin/Language.ini" || fail "Language.ini not seeded"
cmp "$tmp/home/.config/quorlin/red.she" "$usr/share/quorlin/red.she" || fail "red.she not seeded"
sleep 2
# Without a light: one "cannot enumerate dev!" however often the worker looks.
lines=$(grep -c 'cannot enumerate dev!' "$tmp/menu.out" || true)
echo "\"cannot enumerate dev!\" printed $lines time(s) in the first seconds"
[ "$lines" -le 1 ] || fail "diagnostics repeated"
kill -TERM "$win"
wait "$win" || fail "the window did not end cleanly on SIGTERM"
win=
kill "$xvfb"

echo "--- Debian package"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/pkg" >/dev/null
deb=$(ls "$tmp/pkg"/quorlin_*.deb)
dpkg-deb -I "$deb" | tee "$tmp/info"
for lib in libhidapi-hidraw0 libqt6widgets6 libudev1 libc6; do
    grep -E "^ Depends:.*\b$lib\b" "$tmp/info" >/dev/null || fail "Depends lacks $lib"
done
grep -q '^ Package: quorlin$' "$tmp/info" || fail "package name"
# Without the Wayland plugin a Wayland-only session cannot show the window.
grep -E '^ Recommends:.*\bqt6-wayland\b' "$tmp/info" >/dev/null || fail "Recommends lacks qt6-wayland"
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$tmp/contents"
for f in ./usr/bin/quorlin ./usr/lib/udev/rules.d/70-quorlin.rules ./usr/share/applications/$app.desktop \
         ./usr/share/metainfo/$app.metainfo.xml ./usr/share/quorlin/Language.ini; do
    grep -qx "$f" "$tmp/contents" || fail "package lacks $f"
done
# Everything the tools install goes in too.
( cd "$tmp/stage" && find . -type f ) | sort >"$tmp/staged"
missing=$(grep -vxFf "$tmp/contents" "$tmp/staged" || true)
[ -z "$missing" ] || fail "installed but not packaged: $missing"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
# The maintainer scripts never fail where udev does not run (this machine may not).
dpkg-deb -e "$deb" "$tmp/control"
sh "$tmp/control/postinst" configure || fail "postinst failed"
sh "$tmp/control/postrm" remove || fail "postrm failed"
lintian --fail-on error --allow-root "$deb"
echo "ok"
