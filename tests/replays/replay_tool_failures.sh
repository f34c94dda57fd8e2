#!/usr/bin/env bash
# tolvane_replay against files it must not pass: each run fails, and its
# line names the file and what is wrong.
set -u
tool=$1 levels=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0
# expect NAME PATTERN: the tool fails on dir/NAME and prints PATTERN.
expect() {
    local out
    out=$("$tool" --levels "$levels" "$dir/$1")
    if [ $? -eq 0 ]; then echo "FAIL: $1 passed: $out"; failed=1; fi
    if ! grep -qF -- "$2" <<<"$out"; then echo "FAIL: $1 said: $out (wanted: $2)"; failed=1; fi
}
printf 'tolvane replay 1\nlevel Tutorial.txt 8\nclick 24 right 560 464\nend 300 0 99 cleared\n' >"$dir/differs.replay"
expect differs.replay "differs.replay: differs: expected 300 0 99 cleared, got 5024 0 50 unfinished"
printf 'tolvane replay 1\nlevel Tutorial.txt 8\nclick 24 middle 560 464\n' >"$dir/refused.replay"
expect refused.replay 'refused.replay:3: expected "click TICK left|right X Y"'
printf 'tolvane replay 1\nlevel Missing.txt 8\n' >"$dir/missing.replay"
expect missing.replay "missing.replay: the level file $levels/Missing.txt cannot be read"
# --write fills in the end line, after which the file passes.
printf '# a comment stays\ntolvane replay 1\nlevel Tutorial.txt 8\nclick 24 right 560 464\n' >"$dir/written.replay"
"$tool" --levels "$levels" --write "$dir/written.replay" >/dev/null &&
    "$tool" --levels "$levels" "$dir/written.replay" >/dev/null &&
    grep -qx '# a comment stays' "$dir/written.replay" &&
    grep -qx 'end 5024 0 50 unfinished' "$dir/written.replay" || { echo "FAIL: --write"; cat "$dir/written.replay"; failed=1; }
exit $failed
