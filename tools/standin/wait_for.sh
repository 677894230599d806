# Sourced by the black-box scripts of both stand-ins (they define `fail`).
# wait_for WHAT COMMAND...: polls until COMMAND succeeds; gives up after 30 s (slow
# sanitizer builds and Wine on a busy machine), failing with WHAT.
wait_for() {
    local what=$1 tries=600
    shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}
