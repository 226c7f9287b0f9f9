# Sourced by the .deb checks: need() for their tools, build_deb() for the package.

# need TOOL PACKAGE: a missing tool skips the test (77), or fails it under CI=true, where
# scripts/deps.sh test must have installed it.
need() {
    command -v "$1" >/dev/null && return
    if [ "${CI:-}" = true ]; then
        echo "FAILED: $1 is not installed (Debian package $2, in scripts/deps.sh test)"
        exit 1
    fi
    echo "SKIP: $1 is not installed (Debian package $2; scripts/deps.sh test installs it)"
    exit 77
}

# build_deb BUILD_DIR OUT_DIR: runs cpack in the build folder and sets $deb to the package.
build_deb() {
    (cd "$1" && cpack -G DEB -B "$2" >"$2/cpack.log" 2>&1) || { cat "$2/cpack.log"; exit 1; }
    local debs=("$2"/*.deb)
    [ -f "${debs[0]}" ] || { echo "FAILED: no .deb in $2"; cat "$2/cpack.log"; exit 1; }
    deb=${debs[0]}
}
