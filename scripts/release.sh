#!/usr/bin/env bash
# Builds the three downloads from the last commit, in a folder of their own, into one folder
# with a SHA256SUMS file: the Windows ZIP, the Debian package and the page. Anyone who runs it
# on the same commit gets the same bytes (scripts/reproduce.sh checks that).
# Usage: scripts/release.sh [-o FOLDER] [-w WORK] [page] [exe] [zip] [deb]
#   FOLDER: where the downloads go (release/ by default); WORK: where the sources are unpacked
#   and built (a new temporary folder by default). Without names: page, zip and deb; "exe" is
#   the program file alone, as it is inside the ZIP.
# Uncommitted changes are built too, with a warning: such a release matches no commit.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/release
work=
while getopts o:w: option; do
    case $option in
    o) out=$(realpath -m "$OPTARG") ;;
    w) work=$(realpath -m "$OPTARG") ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(page zip deb)
jobs=${ORVAN_JOBS:-2}

# Every date a tool writes is the last commit's, and written in UTC: a ZIP's entries carry
# local DOS times. The packages' own file modes do not follow the builder's umask.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH TZ=UTC
umask 022
if [ -z "$work" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/src" "$out"
if git diff --quiet HEAD --; then
    git archive HEAD | tar -C "$work/src" -xf -
else
    echo "warning: uncommitted changes are built in; this release matches no commit" >&2
    git ls-files -z | tar --null -T - -cf - | tar -C "$work/src" -xf -
fi

build() { # PRESET [FOLDER]: configure and build it in the unpacked sources, without the tests
    [ -d "$work/src/${2:-build-$1}" ] && return
    echo "Building the $1 preset in $work/src"
    (cd "$work/src" && cmake --preset "$1" -DBUILD_TESTING=OFF >/dev/null \
        && cmake --build --preset "$1" -j "$jobs" >/dev/null)
}
files=()
for target in "${targets[@]}"; do
    case $target in
    page) build web; file=build-web/Orvanunk4ver22.html ;;
    exe) build windows; file=build-windows/Orvanunk4ver22.exe ;;
    zip)
        build windows
        (cd "$work/src/build-windows" && cpack -G ZIP >/dev/null)
        file=build-windows/Orvanunk4ver22-win64.zip ;;
    deb)
        build default build # the packaging preset's own folder name, as the README's build/ is
        (cd "$work/src/build" && cpack -G DEB >/dev/null)
        file=$(cd "$work/src" && echo build/orvanunk4_*_amd64.deb) ;;
    *) echo "unknown download: $target" >&2; exit 2 ;;
    esac
    cp "$work/src/$file" "$out/"
    files+=("$(basename "$file")")
done
(cd "$out" && sha256sum "${files[@]}" > SHA256SUMS && cat SHA256SUMS)
