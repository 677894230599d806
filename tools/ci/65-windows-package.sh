#!/bin/bash
# The Windows products from the Windows build (build/windows, tools/ci/60-windows.sh):
# the zip (exact content, 64-bit programs importing system DLLs only) and the per-user
# installer, installed silently under Wine in a private prefix: files, Start-menu
# shortcut, uninstall registration; the shortcut's command run briefly (it seeds
# %APPDATA%\Quorlin); a silent uninstall that removes the programs and keeps the user's
# files. Skips, saying so, while the build folder lacks one of the programs.
set -uo pipefail
top=${QUORLIN_TOP:?}
build=${QUORLIN_WINDOWS_BUILD:-$top/build/windows}  # another build folder for a local run
programs=(quorlin.exe quorlin-demo.exe quorlinctl.exe)
files=("${programs[@]}" Language.ini LICENSE.txt README.txt red.she)

seconds() { echo "${EPOCHREALTIME/[.,]/}"; }   # microseconds
took() { local d=$(( $(seconds) - $1 )); printf '%d.%d s' $((d / 1000000)) $((d / 100000 % 10)); }

if [ ! -f "$build/CPackConfig.cmake" ]; then
    echo "SKIP: no configured Windows build in $build (tools/ci/60-windows.sh makes it)"
    exit 0
fi
tmp=$(mktemp -d)
run_pid= xvfb_pid= light_pid=
stop() {
    for pid in $run_pid $light_pid; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    "$top/tools/wine/prefix.sh" down "$tmp/prefix" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap stop EXIT
trap 'exit 1' TERM INT  # a test's time-out ends it through the clean-up too

# The programs, as the build installs them.
cmake --install "$build" --prefix "$tmp/stage" --component windows_package >/dev/null || { echo "FAIL: cmake --install $build"; exit 1; }
missing=()
for p in "${programs[@]}"; do [ -f "$tmp/stage/$p" ] || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: the Windows build in $build has no ${missing[*]} yet: no packages made"
    exit 0
fi

failures=0
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
check() { local name=$1; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }

# The installer first: its target brings the programs up to date, and the zip then
# takes the same files.
t=$(seconds)
cmake --build "$build" --target windows_installer >/dev/null || { echo "FAIL: the windows_installer target"; exit 1; }
installer_took=$(took "$t")

echo "--- the zip"
t=$(seconds)
cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$tmp/out" >/dev/null || { echo "FAIL: cpack"; exit 1; }
zip=$(ls "$tmp"/out/quorlin-*-windows-x64.zip 2>/dev/null | head -1)
[ -n "$zip" ] || { echo "FAIL: cpack made no quorlin-<version>-windows-x64.zip"; exit 1; }
name=$(basename "$zip" .zip)
echo "$(basename "$zip"): $(stat -c %s "$zip") bytes in $(took "$t")"
expected=$(printf "$name/%s\n" "${files[@]}" | sort)
check "the zip holds exactly the programs, Language.ini, red.she, README.txt and LICENSE.txt in its own folder" \
    test "$(unzip -Z1 "$zip" | sort)" == "$expected"
unzip -q "$zip" -d "$tmp/unzipped"
for p in "${programs[@]}"; do
    check "$p is a 64-bit Windows program" \
        bash -c 'file "$1" | grep -q "PE32+ executable (.*) x86-64"' _ "$tmp/unzipped/$name/$p"
done
if [ -x "$top/tools/wine/check-imports" ]; then
    objdump=$(command -v x86_64-w64-mingw32-objdump)
    check "the programs import system DLLs only" \
        "$top/tools/wine/check-imports" "$objdump" "${programs[@]/#/$tmp/unzipped/$name/}"
fi
# The icon the shortcut and the uninstall entry show (icon 0 of quorlin.exe is group 128).
check "quorlin.exe carries its icon 128" \
    bash -c 'wrestool -l --type=group_icon "$1" | grep -q -- "--name=128 "' _ "$tmp/unzipped/$name/quorlin.exe"
for f in Language.ini red.she; do
    check "$f is the project's own" cmp -s "$top/resources/$f" "$tmp/unzipped/$name/$f"
done
version=${name#quorlin-}
version=${version%-windows-x64}
check "README.txt has Windows line ends" grep -q $'\r$' "$tmp/unzipped/$name/README.txt"
check "README.txt names the version" grep -q "^Quorlin $version for Windows" "$tmp/unzipped/$name/README.txt"

echo "--- the installer"
setup=$build/$name-setup.exe
[ -f "$setup" ] || { echo "FAIL: no $setup"; exit 1; }
echo "$(basename "$setup"): $(stat -c %s "$setup") bytes in $installer_took"
check "the installer is a 64-bit Windows program" bash -c 'file "$1" | grep -q "PE32+ executable (GUI) x86-64"' _ "$setup"

# A display first: the prefix's desktop starts on it, and its windows need it.
if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$tmp/display")
fi
# A private prefix; no Mono, no Gecko, and no Linux menu entries for the shortcut.
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
t=$(seconds)
"$top/tools/wine/prefix.sh" up "$WINEPREFIX"
echo "prefix: $(took "$t")"
winvar() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
local_app_data=$(winepath -u "$(winvar LOCALAPPDATA)" 2>/dev/null)
app_data=$(winepath -u "$(winvar APPDATA)" 2>/dev/null)
programs_menu=$app_data/Microsoft/Windows/Start\ Menu/Programs
install_dir=$local_app_data/Programs/Quorlin
user_dir=$app_data/Quorlin
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlin'

echo "--- the unpacked zip"
unpacked=$tmp/unzipped/$name
version_line=$(cd "$unpacked" && wine ./quorlinctl.exe --version 2>/dev/null | tr -d '\r')
check "quorlinctl.exe --version from the unpacked folder names $version" \
    bash -c '[[ $1 =~ ^quorlinctl\ $2 ]]' _ "$version_line" "$version"
# The stand-in light of the tests (tools/standin/windows), when the build has it: the
# unpacked programs talk to it through hidapi's own Windows code.
standin=$build/tools/standin/windows/bin
if [ -f "$standin/quorlin-standin-light.exe" ]; then
    cp -r "$unpacked" "$tmp/with-light"
    cp "$standin/hid.dll" "$standin/cfgmgr32.dll" "$tmp/with-light/"
    export QUORLIN_STANDIN_DIR=$tmp/light
    mkdir -p "$QUORLIN_STANDIN_DIR"
    (cd "$standin" && exec wine ./quorlin-standin-light.exe) </dev/null >/dev/null 2>&1 &
    light_pid=$!
    for _ in $(seq 100); do [ -s "$QUORLIN_STANDIN_DIR/light" ] && break; sleep 0.1; done
    (cd "$tmp/with-light" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;hid,cfgmgr32=n,b" wine ./quorlinctl.exe status) \
        </dev/null >"$tmp/status.out" 2>&1
    check "the unpacked quorlinctl.exe reads the stand-in light's status" test $? -eq 0
    check "it wrote the 65-byte status request" grep -q " write 0 65 - 001201" "$QUORLIN_STANDIN_DIR/calls.log"
    kill "$light_pid" 2>/dev/null; wait "$light_pid" 2>/dev/null; light_pid=
    unset QUORLIN_STANDIN_DIR
else
    echo "(no stand-in light in $standin: the unpacked programs are not run against it)"
fi

echo "--- install"
t=$(seconds)
check "the installer runs silently without elevation" wine "$setup" /S
echo "install: $(took "$t")"
for f in "${files[@]}" uninstall.exe; do
    check "installed: %LOCALAPPDATA%\\Programs\\Quorlin\\$f" test -f "$install_dir/$f"
done
for p in "${programs[@]}"; do
    check "installed $p is the zip's" cmp -s "$tmp/unzipped/$name/$p" "$install_dir/$p"
done
wine reg query "$key" 2>/dev/null | tr -d '\r' >"$tmp/key"
check "uninstall registered for this user" grep -q 'UninstallString.*REG_SZ.*\\Quorlin\\uninstall.exe"$' "$tmp/key"
check "the registration names the version" grep -q "DisplayVersion.*REG_SZ *$version$" "$tmp/key"
check "nothing registered for the machine" \
    bash -c '! wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlin" >/dev/null 2>&1'

shortcut=$programs_menu/Quorlin.lnk
check "Start-menu shortcut Quorlin.lnk" test -f "$shortcut"
# The shortcut's strings: target, arguments, working folder (UTF-16 in the file).
strings -e l "$shortcut" 2>/dev/null >"$tmp/lnk"
target=$(grep -m1 -io '[a-z]:\\.*\\quorlin\.exe$' "$tmp/lnk")
arguments=$(grep -m1 -- '^--' "$tmp/lnk")
check "the shortcut starts the installed quorlin.exe" test "$(winepath -u "$target" 2>/dev/null)" == "$install_dir/quorlin.exe"
check "with --user-folder" test "$arguments" == "--user-folder"

echo "--- the shortcut's command"
(cd "$install_dir" && exec wine "$target" $arguments) </dev/null >"$tmp/run.out" 2>&1 &
run_pid=$!
for _ in $(seq 100); do [ -f "$user_dir/Language.ini" ] && break; sleep 0.1; done
sleep 1
check "started from the shortcut, the program keeps running" kill -0 "$run_pid"
readback=$build/tools/wine/readback.exe
if [ -f "$readback" ]; then
    check "its main dialog is on the screen" \
        bash -c 'wine "$1" --class "#32770" --visible --wait 10000 >/dev/null 2>&1' _ "$readback"
fi
for f in Language.ini red.she; do
    check "the first start seeded %APPDATA%\\Quorlin\\$f" test -f "$user_dir/$f"
done
kill "$run_pid" 2>/dev/null; wait "$run_pid" 2>/dev/null; run_pid=
# The user's own change, which the uninstaller must keep.
mkdir -p "$user_dir" && printf '[Type]\r\nMyType=English,0;Japanese,1;\r\n' >"$user_dir/Language.ini"
cp "$user_dir/Language.ini" "$tmp/users-language"

echo "--- uninstall"
t=$(seconds)
check "the uninstaller runs silently" wine "$install_dir/uninstall.exe" /S
# It copies itself away and returns at once; the copy does the work, and is done when
# its last step (the folder) is.
for _ in $(seq 300); do [ -e "$install_dir" ] || [ -e "$shortcut" ] || break; sleep 0.1; done
echo "uninstall: $(took "$t")"
check "the program folder is gone" test ! -e "$install_dir"
check "the shortcut is gone" test ! -e "$shortcut"
check "the registration is gone" bash -c '! wine reg query "$1" >/dev/null 2>&1' _ "$key"
check "the user's files stay" cmp -s "$tmp/users-language" "$user_dir/Language.ini"

[ "$failures" -eq 0 ] && echo "windows packages: all passed" || echo "windows packages: $failures failed"
[ "$failures" -eq 0 ]
