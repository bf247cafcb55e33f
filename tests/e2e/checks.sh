# Reporting of checks, shared by the end-to-end scripts. Sourced, not run.
# shellcheck shell=bash
failures=0

# Runs a check and reports it; counts a failure; returns its result.
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        return 0
    fi
    echo "FAILED: $what"
    failures=$((failures + 1))
    return 1
}
