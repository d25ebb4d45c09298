# Failing and waiting, shared by the end-to-end scripts. The script that
# sources this sets `script_name`, `timeout_seconds` and `poll_interval` first.

# fail MESSAGE...: one line on stderr, then exit 1 (the script's EXIT trap cleans up).
fail() {
    echo "$script_name: FAIL: $*" >&2
    exit 1
}

# poll DESCRIPTION COMMAND...: runs COMMAND every poll_interval seconds until
# it succeeds; fails after timeout_seconds.
poll() {
    local what=$1
    shift
    local deadline=$((SECONDS + timeout_seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out after ${timeout_seconds}s waiting for $what"
        sleep "$poll_interval"
    done
}
