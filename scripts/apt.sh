#!/usr/bin/env bash
# Package-list and download helpers shared by deps.sh and win-libs.sh. A
# mirror in the middle of a sync fails a list or a download now and then: each
# is tried a few times with a pause, and a list that still fails does not stop
# the set-up (the lists at hand usually hold every package we need).
# Sourced; callers set a `say` function for their one-line messages.
#   QUIBEX_APT_TRIES   attempts per list refresh or source download (3)
#   QUIBEX_APT_PAUSE   seconds between attempts (10)

apt_as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# Runs COMMAND... up to QUIBEX_APT_TRIES times; its last output goes to stderr
# when every attempt failed.
apt_retry() {
  local tries=${QUIBEX_APT_TRIES:-3} pause=${QUIBEX_APT_PAUSE:-10} n out
  for ((n = 1; ; n++)); do
    if out=$("$@" 2>&1); then return 0; fi
    [ "$n" -ge "$tries" ] && break
    sleep "$pause"
  done
  printf '%s\n' "$out" | tail -n 3 >&2
  return 1
}

# Refreshes the package lists; on lasting failure says so and goes on.
apt_update_lists() {
  local why
  if why=$(apt_retry apt_as_root apt-get update -qq 2>&1 >/dev/null); then return 0; fi
  why=$(printf '%s\n' "$why" | grep -m1 -E '^(E|W):' | cut -c1-160)
  say "some package lists could not be refreshed after ${QUIBEX_APT_TRIES:-3} tries${why:+ ($why)}; going on with the lists at hand"
}
