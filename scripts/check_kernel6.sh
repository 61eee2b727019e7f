#!/usr/bin/env bash
# Builds every extension against the geometry kernel library 6.0 (Debian
# 13's libcgal-dev, unpacked from its package into build/kernel6/ without
# installing anything) and runs the test suite against that build, so that a
# Debian 12 machine checks that the sources still build and pass on Debian
# 13. About as long as a fresh `make test`; run it with `make check-kernel6`
# after touching code that depends on the kernel's version.
set -euo pipefail
cd "$(dirname "$0")/.."

version=${ZENOLITH_KERNEL6_VERSION:-6.0.1-1}
here=$PWD/build/kernel6
root=$here/root
if [ ! -f "$root/usr/include/CGAL/version.h" ]; then
    mkdir -p "$here"
    deb=$here/libcgal-dev_${version}_amd64.deb
    curl -fsSL -o "$deb" "http://deb.debian.org/debian/pool/main/c/cgal/libcgal-dev_${version}_amd64.deb"
    rm -rf "$root"
    dpkg-deb -x "$deb" "$root"
fi
grep -m1 '#define CGAL_VERSION ' "$root/usr/include/CGAL/version.h"

py=$PWD/.venv/bin/python
configure() {  # configure SOURCE BUILD
    .venv/bin/cmake -S "$1" -B "$2" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release \
        -DCGAL_DIR="$root/usr/lib/x86_64-linux-gnu/cmake/CGAL" \
        -DCMAKE_MAKE_PROGRAM="$PWD/.venv/bin/ninja" \
        -DPython_EXECUTABLE="$py" \
        -Dpybind11_DIR="$("$py" -m pybind11 --cmakedir)" >/dev/null
    .venv/bin/cmake --build "$2"
}
configure . "$here/zenolith"
configure algorithms "$here/algorithms"

# Every object must have been compiled against the unpacked headers, not the
# installed ones.
if { .venv/bin/ninja -C "$here/zenolith" -t deps; .venv/bin/ninja -C "$here/algorithms" -t deps; } |
    grep -qE '^\s+/usr/include/CGAL/'; then
    echo "check-kernel6: some objects read the installed kernel headers" >&2
    exit 1
fi

# The modules are imported from a copy outside the source tree, as the
# sanitizer run does.
site=$(mktemp -d)
trap 'rm -rf "$site"' EXIT
cp "$here"/zenolith/zenolith_core*.so "$site"/
cp -r python/zenolith "$site"/
cp "$here"/zenolith/_native*.so "$here"/zenolith/_intersections*.so "$site"/zenolith/
cp -r algorithms/python/zenolith_algorithms "$site"/
cp "$here"/algorithms/_*.so "$site"/zenolith_algorithms/
PYTHONPATH="$site" ZENOLITH_KERNEL_INCLUDE="$root/usr/include" "$py" -m pytest -q -p no:cacheprovider "$@"
