#!/usr/bin/env bash
# Tries the project as a new user would on a fresh Debian machine: a minimal Debian root
# (debootstrap --variant=minbase, plus git) made from this machine's own Debian archive, the
# repository's current commit (HEAD, not uncommitted changes) cloned into it, then `./run` from
# another folder with no display (its snapshot must appear) and `./test`, as root. Prints the time
# and result of each and exits non-zero if either fails. Run it whenever a package or an external
# command is added.
# Usage, as root: tools/fresh_machine_check.sh [SUITE]   (bookworm by default; trixie for Debian 13)
# The bootstrapped root is kept as a tarball in $BRINDLEWICK_FRESH_CACHE (by default
# /var/cache/brindlewick-fresh), so a rerun unpacks a new copy of it instead of bootstrapping again;
# the logs of each run are kept there too. KEEP_ROOT=1 keeps the root after the run.
set -euo pipefail
# The machine's Debian archive, read from apt's sources.
. "$(dirname "$0")/debian_sources.sh"

suite=${1:-bookworm}
project=$(cd "$(dirname "$0")/.." && pwd)
cache=${BRINDLEWICK_FRESH_CACHE:-/var/cache/brindlewick-fresh}
tarball=$cache/$suite-minbase-git.tar.gz
root=""
mounts=()
head=""

if [ "$(id -u)" -ne 0 ]; then
    echo "$0: run as root (it bootstraps a Debian root and mounts into it)" >&2
    exit 1
fi

# Prints the seconds since $1 (a date +%s) as minutes and seconds.
elapsed() {
    local seconds=$(($(date +%s) - $1))
    printf '%dm%02ds' $((seconds / 60)) $((seconds % 60))
}

# Ends every process still running inside the root (a virtual X server, wineserver), by its id.
stop_root_processes() {
    local link pid
    for link in /proc/[0-9]*/root; do
        pid=${link#/proc/}
        pid=${pid%/root}
        [ "$(readlink "$link" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
    done
    return 0
}

# Whether anything is still mounted at or under the root.
root_has_mounts() {
    awk -v root="$root" '$2 == root || index($2, root "/") == 1 { found = 1 } END { exit !found }' \
        /proc/self/mounts
}

# Undoes every mount into the root, newest first, and removes the root unless it is to be kept
# or a mount could not be undone (removing it then would reach into the machine's own /dev).
cleanup() {
    local i
    trap - EXIT INT TERM
    [ -n "$root" ] || return 0
    stop_root_processes
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" 2>/dev/null || true
    done
    if root_has_mounts; then
        echo "$0: mounts remain under $root; it is left in place" >&2
    elif [ -n "${KEEP_ROOT:-}" ]; then
        echo "The root is kept in $root"
    else
        rm -rf --one-file-system "$root"
    fi
}

# Mounts with mount's arguments $1... at $root/$TARGET, the last argument, and remembers it.
mount_in_root() {
    local target=$root/${*: -1}
    mount "${@:1:$#-1}" "$target"
    mounts+=("$target")
}

# Runs a shell command line inside the root as root, with a new user's plain environment. It is
# waited for in the background, so that Ctrl+C or a TERM signal stops the check at once.
in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c "$1" &
    wait $!
}

# Bootstraps a minimal root with git for $suite from the machine's own Debian archive, gives it
# that archive's sources (packages and their sources, the suite's updates and security suites)
# and keeps it as $tarball.
bootstrap() {
    local mirror key start
    mirror=$(debian_archive_uri)
    key=$(debian_archive_key)
    if [ -z "$mirror" ]; then
        echo "$0: no Debian archive found in apt's sources on this machine" >&2
        exit 1
    fi
    echo "Bootstrapping a minimal Debian $suite root with git (once; kept in $tarball)"
    start=$(date +%s)
    local bootstrap_root=$cache/$suite-bootstrap
    rm -rf --one-file-system "$bootstrap_root"
    debootstrap --variant=minbase --include=git ${key:+--keyring="$key"} \
        "$suite" "$bootstrap_root" "$mirror" >"$cache/$suite-debootstrap.log"
    root_sources "$suite" >"$bootstrap_root/etc/apt/sources.list.d/debian.sources"
    rm -f "$bootstrap_root/etc/apt/sources.list"
    # No service a package installs may start in the root (nothing would stop it).
    printf '#!/bin/sh\nexit 101\n' >"$bootstrap_root/usr/sbin/policy-rc.d"
    chmod +x "$bootstrap_root/usr/sbin/policy-rc.d"
    tar -C "$bootstrap_root" -czf "$tarball.partial" . && mv "$tarball.partial" "$tarball"
    rm -rf --one-file-system "$bootstrap_root"
    echo "Bootstrapped in $(elapsed "$start")"
}

# Unpacks a new copy of the bootstrapped root, mounts what programs expect into it and clones the
# repository's current commit into /root/brindlewick.
prepare_root() {
    root=$(mktemp -d "$cache/$suite-root.XXXXXX")
    tar -C "$root" -xzf "$tarball"
    chmod 755 "$root"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount_in_root -t proc proc /proc
    mount_in_root -t sysfs sysfs /sys
    mount_in_root --bind /dev /dev
    # Where the machine's mounts are shared, the root's /dev must not pass on what is mounted
    # into it below (it would land on the machine's own /dev/shm).
    mount --make-rslave "$root/dev"
    mount_in_root --bind /dev/pts /dev/pts
    mount_in_root -t tmpfs shm /dev/shm

    head=$(git -C "$project" rev-parse HEAD)
    echo "Cloning $project at its HEAD, commit ${head:0:12} (uncommitted changes are not included)"
    git -c safe.directory='*' clone -q --no-checkout "$project" "$root/root/brindlewick"
    git -C "$root/root/brindlewick" checkout -q --detach "$head"
    mkdir "$root/root/elsewhere"
}

# Megabytes that the root's installed packages take, by dpkg's count.
installed_megabytes() {
    in_root "dpkg-query -W -f='\${Installed-Size}\n'" |
        awk '{ k += $1 } END { print int(k / 1024) }'
}

# Prints what the steps so far have cost: megabytes of packages downloaded (apt keeps them) and
# installed since the root was made ($1 megabytes then), and the build folder's size with its
# Wine prefix's.
footprint() {  # footprint INSTALLED_BEFORE
    local downloaded build wine
    downloaded=$(du -sm --apparent-size "$root/var/cache/apt/archives" | cut -f1)
    build=$(du -sm "$root/root/brindlewick/build" 2>/dev/null | cut -f1 || true)
    wine=$(du -sm "$root/root/brindlewick/build/wine-prefix" 2>/dev/null | cut -f1 || true)
    echo "       packages: ${downloaded} MB downloaded, $(($(installed_megabytes) - $1)) MB" \
        "installed; build folder ${build:-0} MB, of which the Wine prefix ${wine:-0} MB"
}

# The time apt spent installing packages in the root so far, from its history log.
install_time() {
    local stamp seconds=0 begun=0
    while read -r stamp; do
        case $stamp in
            Start-Date:*) begun=$(date -d "${stamp#Start-Date: }" +%s) ;;
            End-Date:*) seconds=$((seconds + $(date -d "${stamp#End-Date: }" +%s) - begun)) ;;
        esac
    done < <(grep -E '^(Start|End)-Date:' "$root/var/log/apt/history.log" 2>/dev/null |
        sed 's/  / /')
    printf '%dm%02ds' $((seconds / 60)) $((seconds % 60))
}

# Prints the compiler's warnings in the logs of $1, and those of the Windows program, whose
# build ./test shows only when it fails: it is built again from clean for that.
compiler_warnings() {
    in_root 'cmake --build /root/brindlewick/build/windows --clean-first -j "$(nproc)"' \
        >"$1/windows-rebuild.log" 2>&1 || echo "The Windows program did not build again (log: $1)"
    { grep -hE '^[^ ]+:[0-9]+(:[0-9]+)?: warning:' "$1"/*.log || true; } |
        sort -u >"$1/warnings.txt"
    echo "       compiler warnings: $(wc -l <"$1/warnings.txt") (list: $1/warnings.txt)"
    head -n 20 "$1/warnings.txt"
}

# Runs ./run from another folder and then ./test in the root, logging each, and prints their
# times and results; fails if either fails.
run_and_test() {
    local logs start run_time test_time base run_result=passes test_result=passes
    base=$(installed_megabytes)
    logs=$cache/logs/$suite-$(date +%Y%m%d-%H%M%S)
    mkdir -p "$logs"

    start=$(date +%s)
    in_root 'cd /root/elsewhere && /root/brindlewick/run' >"$logs/run.log" 2>&1 || run_result=fails
    run_time=$(elapsed "$start")
    if [ "$run_result" = passes ] && ! ls "$root"/root/elsewhere/snap_*.png >/dev/null 2>&1; then
        echo "./run saved no snapshot in the folder it was called from" >>"$logs/run.log"
        run_result=fails
    fi
    echo "./run  $run_result in $run_time (log: $logs/run.log)"
    footprint "$base"

    start=$(date +%s)
    in_root 'cd /root/brindlewick && ./test' >"$logs/test.log" 2>&1 || test_result=fails
    test_time=$(elapsed "$start")
    echo "./test $test_result in $test_time (log: $logs/test.log)"
    footprint "$base"
    echo "       of all that, apt's installs took $(install_time)"
    start=$(date +%s)
    in_root 'cd /root/elsewhere && /root/brindlewick/run' >"$logs/run-again.log" 2>&1 ||
        { run_result=fails; echo "./run failed the second time (log: $logs/run-again.log)"; }
    echo "./run  again in $(elapsed "$start")"
    if [ "$test_result" = fails ]; then
        grep -E '^[[:space:]]*[0-9]+ - .*\((Failed|Timeout|Not Run|SEGFAULT|Subprocess aborted)\)' \
            "$logs/test.log" || tail -n 20 "$logs/test.log"
    fi
    compiler_warnings "$logs"
    cp "$root/root/brindlewick/build/windows-deps/versions.txt" "$logs/" 2>/dev/null &&
        sed 's/^/Windows libraries: /' "$logs/versions.txt"

    echo "Debian $suite, commit ${head:0:12}:" \
        "./run $run_result ($run_time), ./test $test_result ($test_time)"
    [ "$run_result" = passes ] && [ "$test_result" = passes ]
}

# Bootstraps the root once, then tries the project in a new copy of it.
main() {
    trap cleanup EXIT
    trap 'echo "$0: interrupted" >&2; exit 130' INT TERM
    # What the check itself runs on this machine: debootstrap, and git for the clone.
    if ! command -v debootstrap >/dev/null || ! command -v git >/dev/null; then
        apt-get update -qq
        apt-get -o DPkg::Lock::Timeout=600 install -y -qq debootstrap git >/dev/null
    fi
    mkdir -p "$cache"
    [ -f "$tarball" ] || bootstrap
    prepare_root
    run_and_test
}

# On one line, so that the whole script is read before it runs and editing it meanwhile is safe.
main "$@"; exit
