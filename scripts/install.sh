#!/usr/bin/env bash
# Builds the extensions and installs the distribution into .venv. The build
# talks: CMake's phases and one line per compiled or linked file, as ninja
# prints them, plus every compiler warning or error. pip's own chatter goes
# only to build/install.log, which is printed in full when the build fails.
set -uo pipefail
cd "$(dirname "$0")/.."

# The distribution was called zenolith_core before it became zenolith: drop
# that record once, so that no two distributions claim the same files.
if .venv/bin/python -c "import importlib.metadata as m; m.version('zenolith_core')" 2>/dev/null; then
    .venv/bin/python -m pip uninstall --quiet --yes --disable-pip-version-check zenolith_core
fi

# ZENOLITH_PGO (OFF, generate or use; see scripts/pgo.sh) chooses how the
# core is optimised; a plain build is always a build without a profile.
log=build/install.log
mkdir -p build
.venv/bin/python -m pip install -v --disable-pip-version-check --no-build-isolation --no-deps \
    -Ccmake.define.ZENOLITH_PGO="${ZENOLITH_PGO:-OFF}" -Ccmake.define.ZENOLITH_PGO_DIR="$PWD/build/pgo-profile" \
    . 2>&1 |
    tee "$log" |
    { grep --line-buffered -E '^\*\*\* |^ *\[[0-9]+/[0-9]+\] |(warning|error): ' || true; }
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
    printf 'install: the build failed; its full log (also in %s):\n' "$log" >&2
    cat "$log" >&2
fi
exit "$status"
