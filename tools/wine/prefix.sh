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

# A finished server may linger as a zombie: it has no command line then.
server_running() {
    local pid
    [ -s "$server_pid_file" ] || return 1
    pid=$(cat "$server_pid_file")
    kill -0 "$pid" 2>/dev/null && grep -q wineserver "/proc/$pid/cmdline" 2>/dev/null
}

# The server's socket: /tmp/.wine-<uid>/server-<dev>-<inode>/socket upstream; Debian
# names a private folder under the temporary folder in <prefix>/wineserver instead.
server_listening() {
    local sub tmp=${TMPDIR:-/tmp} base
    sub=$(printf 'server-%x-%x' $(stat -c '%d %i' "$prefix"))
    for base in "/tmp/.wine-$(id -u)" "$tmp/$(cat "$prefix/wineserver" 2>/dev/null)" \
                "/tmp/$(cat "$prefix/wineserver" 2>/dev/null)"; do
        [ -S "$base/$sub/socket" ] && return 0
    done
    return 1
}

log=$prefix/.quorlin-wine.log

# Children get no descriptor of ours: neither the caller's pipes nor the lock (fd 9),
# which a lasting Wine process would otherwise hold for ever. What they say goes to
# the prefix's log, shown when they fail.
quiet() {
    local status=0
    "$@" </dev/null >>"$log" 2>&1 9>&- || status=$?
    if [ $status -ne 0 ]; then
        echo "prefix.sh: '$*' failed (exit $status) in $prefix; its log ends:" >&2
        tail -n 20 "$log" >&2
    fi
    return $status
}

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

start_server() {
    # Persistent (it outlives every client until told to stop), in the foreground of
    # its own session so that its process id is known and nobody's pipes are held.
    setsid wineserver -p -f </dev/null >>"$log" 2>&1 9>&- &
    echo $! >"$server_pid_file"
    # A client started before the socket exists would start a short-lived server of
    # its own, tied to that client's pipes.
    for _ in $(seq 100); do
        server_listening && return 0
        server_running || return 1
        sleep 0.05
    done
    server_running
}

up() {
    server_running && return 0
    rm -f "$server_pid_file"
    if ! start_server; then
        # Another server holds the prefix (a Wine program started by hand, say):
        # replace it by a persistent one.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        start_server || { echo "prefix.sh: no wineserver for $prefix (see $log)" >&2; return 1; }
    fi
    # Wine's own processes (services, device manager, ...) start with the first client:
    # a throw-away one, so that no test waits for them.
    if [ ! -e "$ready_stamp" ]; then
        quiet wineboot -i
        configure_prefix
        touch "$ready_stamp"
    else
        quiet wine cmd /c exit
    fi
    server_running || { echo "prefix.sh: the wineserver of $prefix ended during start-up (see $log)" >&2; return 1; }
}

down() {
    [ -s "$server_pid_file" ] || return 0
    if server_running; then
        wineserver -k 2>/dev/null || true
        # It saves the registry on its way out (about 1.5 s here).
        for _ in $(seq 200); do server_running || break; sleep 0.05; done
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
