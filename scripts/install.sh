#!/usr/bin/env bash
# Builds and installs into .venv both distributions of this repository:
# zenolith (the root: zenolith_core and zenolith._native) and, from
# algorithms/, the GPL-licensed zenolith-algorithms. Each keeps its own
# persistent build directory (build/<wheel tag>, build/algorithms/<wheel tag>),
# so only changed files recompile. The build talks: CMake's phases and one
# line per compiled or linked file, as ninja prints them, plus every compiler
# warning or error. pip's own chatter goes only to build/install.log and
# build/install-algorithms.log, printed in full when a build fails.
set -uo pipefail
cd "$(dirname "$0")/.."

# The distribution was called zenolith_core before it became zenolith: drop
# that record once, so that no two distributions claim the same files.
if .venv/bin/python -c "import importlib.metadata as m; m.version('zenolith_core')" 2>/dev/null; then
    .venv/bin/python -m pip uninstall --quiet --yes --disable-pip-version-check zenolith_core
fi

# build_and_install LOG SOURCE [pip options...]
build_and_install() {
    local log=$1 source=$2
    shift 2
    .venv/bin/python -m pip install -v --disable-pip-version-check --no-build-isolation --no-deps \
        "$@" "$source" 2>&1 |
        tee "$log" |
        { grep --line-buffered -E '^\*\*\* |^ *\[[0-9]+/[0-9]+\] |(warning|error): ' || true; }
    local status=${PIPESTATUS[0]}
    if [ "$status" -ne 0 ]; then
        printf 'install: the build of %s failed; its full log (also in %s):\n' "$source" "$log" >&2
        cat "$log" >&2
    fi
    return "$status"
}

mkdir -p build
# ZENOLITH_PGO (OFF, generate or use; see scripts/pgo.sh) chooses how the
# core is optimised; a plain build is always a build without a profile.
build_and_install build/install.log . \
    -Ccmake.define.ZENOLITH_PGO="${ZENOLITH_PGO:-OFF}" -Ccmake.define.ZENOLITH_PGO_DIR="$PWD/build/pgo-profile" ||
    exit
echo "*** zenolith-algorithms"
build_and_install build/install-algorithms.log ./algorithms
