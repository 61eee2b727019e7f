#!/usr/bin/env bash
# Prepares everything a build needs, installing only what is missing:
#   1. the kernel, Boost, GMP and MPFR headers (Debian packages libcgal-dev,
#      libboost-dev, libgmp-dev, libmpfr-dev),
#   2. a virtual environment .venv made from CPython 3.12,
#   3. the Python packages of requirements-dev.txt inside it.
# Set PYTHON=/path/to/python3.12 to choose the interpreter yourself.
set -euo pipefail
cd "$(dirname "$0")/.."

say() { printf 'bootstrap: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }

# ---- 1. system headers ----------------------------------------------------
missing=()
[ -f /usr/include/CGAL/Simple_cartesian.h ] || missing+=(libcgal-dev)
[ -f /usr/include/boost/math/special_functions/next.hpp ] || missing+=(libboost-dev)
# GMP and MPFR: the exact-arithmetic fallback of zenolith's exact predicates
[ -f /usr/include/gmpxx.h ] || missing+=(libgmp-dev)
[ -f /usr/include/mpfr.h ] || missing+=(libmpfr-dev)
# An SVG renderer for the drawing tests, where we can install it (the test is skipped without it).
if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1 && ! command -v rsvg-convert >/dev/null 2>&1; then
    missing+=(librsvg2-bin)
fi
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
        say "installing ${missing[*]} with apt-get"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}" g++ >/dev/null
    else
        die "missing system packages: ${missing[*]}. Install them first, e.g.: sudo apt-get install ${missing[*]}"
    fi
fi

# ---- 2. CPython 3.12 and the virtual environment ---------------------------
is_312() { "$1" -c 'import sys, venv; sys.exit(sys.version_info[:2] != (3, 12))' >/dev/null 2>&1; }

find_python() {
    if [ -n "${PYTHON:-}" ]; then
        is_312 "$PYTHON" || die "PYTHON=$PYTHON is not a working CPython 3.12 with venv"
        echo "$PYTHON"; return
    fi
    local c candidates=(python3.12)
    if command -v pyenv >/dev/null 2>&1; then
        candidates+=("$(pyenv root)"/versions/3.12*/bin/python3.12)
    fi
    candidates+=("${HOME:-/root}"/.pyenv/versions/3.12*/bin/python3.12 /usr/local/bin/python3.12 /usr/bin/python3.12)
    for c in "${candidates[@]}"; do
        if is_312 "$c"; then echo "$c"; return; fi
        # pyenv shims answer only when the version is selected
        if [ "$c" = python3.12 ] && PYENV_VERSION=3.12 is_312 "$c"; then
            PYENV_VERSION=3.12 "$c" -c 'import sys; print(sys.executable)'; return
        fi
    done
    die "no CPython 3.12 found. Install it (e.g. 'pyenv install 3.12' or Debian's python3.12 with python3.12-venv), or point PYTHON=/path/to/python3.12 at one."
}

if [ ! -x .venv/bin/python ] || ! is_312 .venv/bin/python; then
    py=$(find_python)
    say "creating .venv from $py"
    rm -rf .venv
    "$py" -m venv .venv
fi

# ---- 3. Python packages ------------------------------------------------------
stamp=.venv/.requirements-installed
if [ ! -f "$stamp" ] || [ requirements-dev.txt -nt "$stamp" ]; then
    say "installing Python packages into .venv"
    .venv/bin/python -m pip install --quiet --disable-pip-version-check -r requirements-dev.txt
    touch "$stamp"
fi
