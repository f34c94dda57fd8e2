# Shared by the package tests: makes the Debian package from the build tree
# into a folder of the test's own (never build/, where the player's package
# goes). Source it; make_package BUILD_DIR OUT_DIR sets DEB.
make_package() {
    local build=$1 out=$2
    mkdir -p "$out"
    (cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log" >&2; return 1; }
    DEB=$(ls "$out"/tolvane_*.deb 2>/dev/null | head -n1)
    [ -n "$DEB" ] || { cat "$out/cpack.log" >&2; return 1; }
}
