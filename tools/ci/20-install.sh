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
desktop-file-validate "$usr/share/applications/$app.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml"

# --version prints and ends without a display (xcb with no DISPLAY would abort).
version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/quorlin" --version)
echo "$version"
[[ $version =~ ^quorlin\ [0-9]+\.[0-9]+ ]] || fail "--version printed '$version'"

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
