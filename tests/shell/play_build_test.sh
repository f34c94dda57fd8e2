#!/usr/bin/env bash
# What scripts/play configures: the game alone. It must configure on a
# machine without the test framework or the benchmark library, and its build
# must hold no test program.
set -u
CMAKE=$1
SOURCE=$2
dir=$(mktemp -d /tmp/tolvane-play-build-XXXXXX)
trap 'rm -rf "$dir"' EXIT

if ! "$CMAKE" -S "$SOURCE" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BUILD_TESTS=OFF \
        -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >"$dir/configure.log" 2>&1; then
    cat "$dir/configure.log"
    echo "FAIL: the game alone does not configure without the test libraries"
    exit 1
fi
targets=$("$CMAKE" --build "$dir" --target help | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p')
for wanted in tolvane assets levels; do
    grep -qx "$wanted" <<<"$targets" || { echo "FAIL: the play build lacks $wanted"; exit 1; }
done
# The solver library is the game's own (it thinks up the hints); the
# solving tool is not.
extra=$(grep -E '_tests?$|_bench$|_e2e$|tolvane_solve$|tolvane_null|close_window|fuzz' <<<"$targets")
[ -z "$extra" ] || { echo "FAIL: the play build would also build: $extra"; exit 1; }
echo "PASS: the play build configures without the test libraries and builds the game, its pictures, sounds and levels"
