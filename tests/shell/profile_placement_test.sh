#!/usr/bin/env bash
# The build puts a fresh profile into the runtime directory only when none
# is there: a player's progress survives every rebuild.
set -eu
cmake=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
place() { "$cmake" -DSOURCE="$source_dir/data/profile.txt" -DTARGET="$work/profile.txt" -P "$source_dir/data/place_profile.cmake"; }

place
cmp -s "$work/profile.txt" "$source_dir/data/profile.txt" || { echo "FAIL: no fresh profile placed"; exit 1; }
[ "$(head -n 4 "$work/profile.txt" | tr '\n' ' ')" = "1 0 1 0 " ] || { echo "FAIL: the fresh profile does not open worlds 0 and 1"; exit 1; }
[ "$(wc -l <"$work/profile.txt")" = 30 ] || { echo "FAIL: the fresh profile is not 30 lines"; exit 1; }

printf '2\n891\n1\n0\n1\n0\n' >"$work/profile.txt"
place
[ "$(head -n 2 "$work/profile.txt" | tr '\n' ' ')" = "2 891 " ] || { echo "FAIL: a rebuild replaced the player's profile"; exit 1; }
echo "PASS: fresh profile placed once, kept afterwards"
