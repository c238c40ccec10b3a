#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree and checks it:
#   lintian reports no error; the desktop entry and the AppStream metainfo validate;
#   the package unpacks (dpkg -x) to exactly the files in packaging/package-files.txt;
#   the unpacked programs answer --version and --help and tervalen-calc computes;
#   tervalen-calc's --help and its installed manual page say the same;
#   the unpacked project file type maps *.tvp once the MIME database is built.
# usage: packaging/check_package.sh [BUILD_DIR]   (default build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
check() {  # check WHAT COMMAND...: runs COMMAND, reports WHAT as passed or failed
    local what=$1
    shift
    if "$@" >"$scratch/out" 2>&1; then
        echo "  ok    $what"
    else
        echo "  FAIL  $what"
        sed 's/^/        /' "$scratch/out"
        failures=$((failures + 1))
    fi
}

(cd "$build" && rm -f tervalen_*.deb && cpack -G DEB >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$build"/tervalen_"$version"_*.deb)
echo "== $(basename "$deb")"

check "lintian shows no error" lintian --fail-on error "$deb"
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr
check "files as in packaging/package-files.txt" \
    diff -u "$root/packaging/package-files.txt" <(cd "$scratch/root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
check "desktop entry validates" desktop-file-validate "$usr/share/applications/tervalen.desktop"
check "AppStream metainfo validates" appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml
check "Depends found by dpkg-shlibdeps names Qt Widgets" \
    bash -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"
check "Tervalen --version" bash -c "'$usr/bin/Tervalen' --version | grep -qx 'Tervalen $version'"
check "Tervalen --help" bash -c "env -u DISPLAY -u WAYLAND_DISPLAY '$usr/bin/Tervalen' --help | grep -q '^usage: Tervalen'"
check "tervalen-calc --version" bash -c "'$usr/bin/tervalen-calc' --version | grep -qx 'tervalen-calc $version'"
check "tervalen-calc --help" bash -c "'$usr/bin/tervalen-calc' --help | grep -q '^usage: tervalen-calc'"
check "tervalen-calc computes" bash -c "'$usr/bin/tervalen-calc' frmRx_DLDanZ CmbH=20 CmbHx=5 | grep -qx 'PicRx= 11.70115'"
check "tervalen-calc --help agrees with its manual page" \
    python3 "$root/tests/driver_help.py" "$usr/bin/tervalen-calc" "$usr/share/man/man1/tervalen-calc.1.gz"
check "*.tvp is a Tervalen project file" bash -c "update-mime-database '$usr/share/mime' &&
    grep -qx 'application/x-tervalen-project:\*\.tvp' '$usr/share/mime/globs' &&
    grep -q 'Tervalen 工程文件' '$usr/share/mime/application/x-tervalen-project.xml'"
check "manual pages render without warnings" bash -c "for p in '$usr'/share/man/man1/*.1.gz; do
    out=\$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \"\$p\" 2>&1 >/dev/null)
    [[ -z \$out ]] || { echo \"\$p: \$out\"; exit 1; }; done"

if ((failures)); then
    echo "package checks: $failures FAILED"
    exit 1
fi
echo "package checks: all passed"
