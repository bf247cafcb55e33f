# The machine's Debian archive as apt's sources name it, read at run time so that no address is
# written here. Shared by tools/build_windows.sh and tools/fresh_machine_check.sh. Sourced, not run.

# Debian's codenames in release order: a suite's previous release is the one before it.
DEBIAN_RELEASES="buster bullseye bookworm trixie forky duke"

# Prints the machine's Debian package entries, one line per address and suite: URI SUITE KEY,
# KEY the Signed-By keyring file or "-". Reads deb822 .sources files and one-line .list files.
debian_entries() {
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] && awk '
            # Prints the stanza just read, one line per URI and suite, if it is a Debian archive.
            function flush(  u, s, nu, ns, uris, suites) {
                if (types ~ /(^| )deb( |$)/ && uri ~ /debian/ && enabled !~ /^[Nn]o/) {
                    nu = split(uri, uris, " ")
                    ns = split(suite, suites, " ")
                    for (u = 1; u <= nu; u++)
                        for (s = 1; s <= ns; s++)
                            print uris[u], suites[s], (key ~ /^\// ? key : "-")
                }
                types = uri = suite = key = enabled = ""
            }
            /^[[:space:]]*$/ { flush(); next }
            /^Types:/ { types = substr($0, 7) }
            /^URIs:/ { uri = substr($0, 6) }
            /^Suites:/ { suite = substr($0, 8) }
            /^Signed-By:/ { key = $2 }
            /^Enabled:/ { enabled = $2 }
            END { flush() }' "$file"
    done
    { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } | awk '
        # One-line entries: deb [OPTIONS] URI SUITE COMPONENTS...
        $1 == "deb" && /debian/ {
            key = "-"
            field = 2
            if ($2 ~ /^\[/) {
                for (; field <= NF && $field !~ /\]$/; field++)
                    if ($field ~ /signed-by=/) key = $field
                if ($field ~ /signed-by=/) key = $field
                field++
                sub(/.*signed-by=/, "", key)
                sub(/\].*/, "", key)
            }
            print $field, $(field + 1), key
        }'
    return 0  # a machine may have no file of either kind
}

# The address of the machine's main Debian archive (the first one not of a security suite).
debian_archive_uri() {
    debian_entries | awk '$2 !~ /-security$/ { print $1; exit }'
}

# The keyring file that signs the main Debian archive, if the sources name one.
debian_archive_key() {
    debian_entries | awk '$2 !~ /-security$/ && $3 != "-" { print $3; exit }'
}

# The address of the machine's Debian security archive, if it has one.
debian_security_uri() {
    debian_entries | awk '$2 ~ /-security$/ { print $1; exit }'
}

# The release before suite $1 (a codename or stable/oldstable), or nothing if there is none known.
previous_suite() {
    case $1 in
        stable) echo oldstable ;;
        oldstable) echo oldoldstable ;;
        *) echo "$DEBIAN_RELEASES" | tr ' ' '\n' | grep -x -B1 "$1" | grep -vx "$1" || true ;;
    esac
}

# A deb822 sources file for a machine running suite $1 from this machine's archives, as Debian's
# installer writes one: packages and their sources, with the suite's updates and security suites.
root_sources() {
    local uri security key
    uri=$(debian_archive_uri)
    security=$(debian_security_uri)
    key=$(debian_archive_key)
    printf 'Types: deb deb-src\nURIs: %s\nSuites: %s %s-updates\nComponents: main\n' \
        "$uri" "$1" "$1"
    [ -n "$key" ] && printf 'Signed-By: %s\n' "$key"
    if [ -n "$security" ]; then
        printf '\nTypes: deb deb-src\nURIs: %s\nSuites: %s-security\nComponents: main\n' \
            "$security" "$1"
        [ -n "$key" ] && printf 'Signed-By: %s\n' "$key"
    fi
    return 0
}

# Source entries for fetching Debian's source packages: the deb-src line of every Debian archive
# entry but the security ones (their source pool is not served to every machine, and one missing
# file fails a whole fetch), and the previous release of each suite, to fall back on when a
# current source cannot be had.
debian_source_lines() {
    local uri suite key previous
    debian_entries | while read -r uri suite key; do
        case $suite in *-security) continue ;; esac
        key=$([ "$key" = - ] || echo "[signed-by=$key] ")
        echo "deb-src $key$uri $suite main"
        case $suite in *-*) continue ;; esac
        previous=$(previous_suite "$suite")
        [ -z "$previous" ] || echo "deb-src $key$uri $previous main"
    done | awk '!seen[$0]++'
}
