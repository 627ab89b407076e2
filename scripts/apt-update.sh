# Sourced by the scripts that install Debian packages.
#
# apt_update [APT-GET OPTION...]: updates the package indexes. A mirror that
# is being synced can serve an index out of step with its Release file, and
# then apt-get fails although every other index came down: the update is
# tried again a few times, then the run carries on with the indexes it has,
# and the install that follows is the judge of whether they are enough.
# Prints one line naming the indexes it goes without, and leaves them, one
# per line, in STALE_INDEXES ("bookworm-security/main/binary-i386/Packages.xz").
# Safe under set -euo pipefail. The pause before the second and the third
# try is 5 and 10 s (AEROTRACE_APT_RETRY_PAUSE=N: N and 2N).
apt_update() {
    local attempt output="" updated=0
    for attempt in 1 2 3; do
        if output=$(apt-get "$@" update 2>&1); then updated=1; fi
        STALE_INDEXES=$(grep -oE '^[EW]: Failed to fetch [^ ]+' <<<"$output" | awk '{print $5}' | sed 's#.*/dists/##' | sort -u || true)
        [ "$updated" = 1 ] && [ -z "$STALE_INDEXES" ] && return 0
        [ "$attempt" -lt 3 ] && sleep $((attempt * ${AEROTRACE_APT_RETRY_PAUSE:-5}))
    done
    if [ -n "$STALE_INDEXES" ]; then
        echo "== apt: going on without the package indexes that could not be fetched in 3 tries: $(echo $STALE_INDEXES)"
    elif [ "$updated" = 0 ]; then
        echo "== apt: the package indexes could not be updated ($(grep -E '^[EW]:' <<<"$output" | tail -n 1)); going on with those the machine has"
    fi
    return 0
}
