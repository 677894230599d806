#!/bin/bash
# A private Wine prefix for one build tree, and its wineserver.
#
#   prefix.sh up <prefix>     create the prefix once; start its wineserver if it is not running
#   prefix.sh down <prefix>   stop that wineserver and everything running under it
#
# The server is started persistent and detached, and Wine's own system processes are
# brought up once by a throw-away program whose descriptors lead nowhere: a process
# started by a test would otherwise inherit the test's output pipe and keep ctest waiting,
# and every test would pay for Wine's start-up (about 3 s here).
set -euo pipefail

usage() { echo "usage: prefix.sh up|down <prefix>" >&2; exit 2; }
[ $# -eq 2 ] || usage
action=$1
mkdir -p "$2"
prefix=$(cd "$2" && pwd)

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono and no Gecko: nothing here needs .NET or an HTML engine, and their
# installers would be offered on every new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

server_pid_file=$prefix/.quorlin-wineserver.pid
ready_stamp=$prefix/.quorlin-ready

server_running() {
    local pid
    [ -s "$server_pid_file" ] || return 1
    pid=$(cat "$server_pid_file")
    kill -0 "$pid" 2>/dev/null && grep -q wineserver "/proc/$pid/cmdline" 2>/dev/null
}

# Children get no descriptor of ours: neither the caller's pipes nor the lock (fd 9),
# which a lasting Wine process would otherwise hold for ever.
quiet() { "$@" </dev/null >/dev/null 2>&1 9>&-; }

# Settings every prefix of this project carries:
#  - Tahoma (the dialog font's fallback) links to WenQuanYi Micro Hei, so Chinese and
#    Japanese texts show glyphs instead of boxes;
#  - windows are not managed by the X window manager: without one, a managed dialog's
#    end waits about 2 s for a reply that never comes.
configure_prefix() {
    quiet wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f
    quiet wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
}

up() {
    server_running && return 0
    # Persistent (it outlives every client until told to stop), in the foreground of
    # its own session so that its process id is known and nobody's pipes are held.
    setsid wineserver -p -f </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$server_pid_file"
    if [ ! -e "$ready_stamp" ]; then
        quiet wineboot -i
        configure_prefix
        touch "$ready_stamp"
    else
        quiet wine cmd /c exit
    fi
}

down() {
    local pid
    [ -s "$server_pid_file" ] || return 0
    pid=$(cat "$server_pid_file")
    if server_running; then
        wineserver -k 2>/dev/null || true
        for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$server_pid_file"
}

# One caller at a time per prefix: ctest starts tests in parallel.
exec 9>"$prefix/.quorlin-lock"
flock 9
case $action in
    up) up ;;
    down) down ;;
    *) usage ;;
esac
