#!/usr/bin/env bash
# How ./run and ./test install missing packages: as root directly, otherwise through sudo, and
# with neither one line saying what to do and nothing done; of a package's two names "a|b", the
# one apt can install. id, sudo and apt-get are stand-ins on a PATH of their own that log their
# calls, apt-cache one that knows only $missing_package-2; dpkg-query is the real one.
set -uo pipefail
setup=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
missing_package=brindlewick-no-such-package
. "$(dirname "$(realpath "$0")")/../e2e/checks.sh"

# Writes a stand-in command into bin/ that appends its line to the log.
stand_in() {
    printf '#!/bin/bash\n%s\n' "$2" >"$work/bin/$1"
    chmod +x "$work/bin/$1"
}

# Runs install_packages for the named packages as user $1 ("root" or "user"), with or without
# sudo ($2); its output goes to out and err, the stand-ins' calls to log.
install_as() {
    local user=$1 with_sudo=$2
    shift 2
    rm -rf "$work/bin" "$work/log"
    mkdir "$work/bin"
    for tool in dpkg-query grep dirname env; do
        ln -s "$(command -v "$tool")" "$work/bin/$tool"
    done
    stand_in id "[ \"\$1\" = -u ] && echo $([ "$user" = root ] && echo 0 || echo 1000)"
    stand_in apt-get 'echo "apt-get frontend=${DEBIAN_FRONTEND:-} $*" >>"$LOG"'
    stand_in apt-cache "[ \"\$2\" = $missing_package-2 ] && echo '  Candidate: 1.0'"
    [ "$with_sudo" = sudo ] && stand_in sudo 'echo "sudo $*" >>"$LOG"; exec "$@"'
    env -i PATH="$work/bin" LOG="$work/log" "$BASH" -c \
        '. "$0"; install_packages "$@"; echo "carried on"' "$setup" "$@" \
        >"$work/out" 2>"$work/err"
    touch "$work/log"
}

# Not root and no sudo: one line naming both ways out, and apt-get never started.
install_as user none dpkg "$missing_package"
[ ! -s "$work/log" ] || fail "without root or sudo it still ran: $(cat "$work/log")"
grep -q "carried on" "$work/out" && fail "without root or sudo the script carried on"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "expected one line on stderr, got: $(cat "$work/err")"
grep -q "as root" "$work/err" && grep -q "install sudo" "$work/err" ||
    fail "the line does not say what to do: $(cat "$work/err")"

# Not root with sudo: both apt-get calls go through sudo, the install non-interactive.
install_as user sudo dpkg "$missing_package"
grep -qx "sudo apt-get update -qq" "$work/log" || fail "update not through sudo: $(cat "$work/log")"
grep -q "^sudo .*apt-get .*install .*$missing_package" "$work/log" ||
    fail "install not through sudo: $(cat "$work/log")"
grep -q "^apt-get frontend=noninteractive .*install .*$missing_package$" "$work/log" ||
    fail "install not non-interactive or not of the missing package only: $(cat "$work/log")"
grep -q "carried on" "$work/out" || fail "with sudo the script stopped: $(cat "$work/err")"

# Root: apt-get directly, even where sudo exists.
install_as root sudo "$missing_package"
grep -q "^sudo" "$work/log" && fail "as root it still used sudo"
grep -q "^apt-get frontend=noninteractive .*install .*$missing_package$" "$work/log" ||
    fail "as root the package was not installed: $(cat "$work/log")"

# Nothing missing: nothing to do, root or not.
install_as user none dpkg
[ ! -s "$work/log" ] && [ ! -s "$work/err" ] && grep -q "carried on" "$work/out" ||
    fail "with nothing missing it did not simply carry on: $(cat "$work/err" "$work/log")"

# Two names for one package: installed under either, nothing to do; missing, the name apt has.
install_as root none "$missing_package|dpkg"
[ ! -s "$work/log" ] || fail "installed under its second name, it was installed: $(cat "$work/log")"
install_as root none "$missing_package|$missing_package-2"
grep -q "^apt-get frontend=noninteractive .*install .* $missing_package-2$" "$work/log" ||
    fail "not the name apt can install was installed: $(cat "$work/log")"

verdict "package privilege"
echo "ok: root installs directly, others through sudo, and without either one line and a stop;" \
    "of two names, the one apt has"
