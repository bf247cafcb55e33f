# The machine's Debian archive as apt's sources name it, read at run time so that no address is
# written here. Shared by tools/build_windows.sh and tools/fresh_machine_check.sh. Sourced, not run.
# shellcheck shell=bash

# Debian's codenames in release order: a suite's previous release is the one before it.
DEBIAN_RELEASES="buster bullseye bookworm trixie forky duke"

# apt's configuration folder; another one can be named for a look at other sources.
APT_ETC=${APT_ETC:-/etc/apt}

# Prints every package entry of apt's sources, one line per address and suite: URI SUITE KEY
# COMPONENT..., KEY the Signed-By keyring file, "-" for none or "inline" for a key written out in
# the stanza. Reads deb822
# .sources files (fields may go on over indented lines; comments and disabled stanzas are left
# out) and one-line .list files. A stanza without its address, suite or component, or a
# .sources file that cannot be read, stops it with a line on stderr.
package_entries() {
    local file
    for file in "$APT_ETC"/sources.list.d/*.sources; do
        [ -e "$file" ] || continue
        awk '
            # The text without the blanks around it.
            function trim(text) {
                gsub(/^[[:space:]]+|[[:space:]]+$/, "", text)
                return text
            }
            # Prints the stanza just read, one line per URI and suite, if it is of packages.
            function flush(  u, s, nu, ns, uris, suites, key) {
                if (field["types"] ~ /(^| )deb( |$)/ && tolower(field["enabled"]) != "no") {
                    if (field["uris"] == "" || field["suites"] == "" || field["components"] == "") {
                        printf "%s: the stanza ending at line %d has no URIs, Suites or " \
                            "Components\n", FILENAME, FNR > "/dev/stderr"
                        failed = 1
                    }
                    key = field["signed-by"] == "" ? "-" : \
                        field["signed-by"] ~ /^\/[^ ]*$/ ? field["signed-by"] : "inline"
                    nu = split(field["uris"], uris, " ")
                    ns = split(field["suites"], suites, " ")
                    for (u = 1; u <= nu; u++)
                        for (s = 1; s <= ns; s++)
                            print uris[u], suites[s], key, field["components"]
                }
                delete field
                name = ""
            }
            /^#/ { next }
            /^[[:space:]]*$/ { flush(); next }
            /^[[:space:]]/ { if (name != "") field[name] = field[name] " " trim($0); next }
            {
                name = tolower(substr($0, 1, index($0, ":") - 1))
                field[name] = trim(substr($0, index($0, ":") + 1))
            }
            END { flush(); exit failed }' "$file" || return 1
    done
    { cat "$APT_ETC"/sources.list "$APT_ETC"/sources.list.d/*.list 2>/dev/null || true; } | awk '
        # One-line entries: deb [OPTIONS] URI SUITE COMPONENTS...
        $1 == "deb" {
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
            line = $field " " $(field + 1) " " key
            for (c = field + 2; c <= NF; c++) line = line " " $c
            print line
        }'
}

# Prints the machine's entries from Debian's own archive, one line per address and suite: URI
# SUITE KEY. Debian's own: a suite of a Debian release (its codename or stable, testing...,
# with -updates, -security or -backports), its main component, and no keyring or one of
# Debian's; a repository of another party for Debian (its own key, suites or components) is
# left out, as are the entries of derived systems. Stops with a line on stderr when there is none.
debian_entries() {
    local entries
    entries=$(package_entries) || return 1
    awk -v releases="$DEBIAN_RELEASES" -v etc="$APT_ETC" '
        BEGIN {
            n = split(releases " oldoldstable oldstable stable testing unstable sid", names, " ")
            for (i = 1; i <= n; i++) debian[names[i]] = 1
        }
        {
            release = $2
            sub(/-(updates|security|backports|backports-sloppy|proposed-updates)$/, "", release)
            main = 0
            for (c = 4; c <= NF; c++) main = main || $c == "main"
            if ((release in debian) && main && ($3 == "-" || $3 ~ /\/debian-archive[^\/]*$/)) {
                print $1, $2, $3
                found = 1
            }
        }
        END {
            if (!found)
                print "No entry of Debian\047s own archive in apt\047s sources in " etc > "/dev/stderr"
            exit !found
        }' <<<"$entries"
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
