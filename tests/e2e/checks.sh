# Reporting of checks, and the PNG reader they share; for the end-to-end and install scripts.
# Sourced, not run.
# shellcheck shell=bash
failures=0

# Records one failed check with what went wrong.
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# Runs a check and reports it; counts a failure; returns its result.
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        return 0
    fi
    fail "$what"
    return 1
}

# Ends the script with its verdict: status 1, saying how many of its checks failed, if any did.
verdict() {  # verdict WHAT
    if [ "$failures" -ne 0 ]; then
        echo "$failures $1 checks failed"
        exit 1
    fi
    echo "all $1 checks passed"
}

# Width x height of a PNG, read from its header.
png_size() {
    local numbers
    numbers=$(od -An -tu1 -j16 -N8 "$1" | xargs)
    # shellcheck disable=SC2086  # one argument per byte
    set -- $numbers
    echo "$(($1 << 24 | $2 << 16 | $3 << 8 | $4))x$(($5 << 24 | $6 << 16 | $7 << 8 | $8))"
}
