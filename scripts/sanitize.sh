#!/usr/bin/env bash
# Builds the extension with AddressSanitizer and UndefinedBehaviorSanitizer in
# build/sanitize (apart from the normal build), then runs the test suite
# against that build. Any sanitizer report fails the run. Too slow for every
# change; run it with `make sanitize` after touching memory or arithmetic.
set -euo pipefail
cd "$(dirname "$0")/.."

py=$PWD/.venv/bin/python
build=build/sanitize
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g"

.venv/bin/cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=OFF \
    -DZENOLITH_OPTIMIZATION=-O1 \
    -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_MODULE_LINKER_FLAGS="$flags" \
    -DCMAKE_MAKE_PROGRAM="$PWD/.venv/bin/ninja" \
    -DPython_EXECUTABLE="$py" \
    -Dpybind11_DIR="$("$py" -m pybind11 --cmakedir)" >/dev/null
.venv/bin/cmake --build "$build"

# The tests refuse a module lying in the source tree (they would not know it
# from a stale artefact), so the sanitized modules are imported from a copy
# outside: the core, and the companion package with its native part.
site=$(mktemp -d)
trap 'rm -rf "$site"' EXIT
cp "$build"/zenolith_core*.so "$site"/
if [ -d python/zenolith ]; then
    cp -r python/zenolith "$site"/
    cp "$build"/_native*.so "$build"/_intersections*.so "$site"/zenolith/
fi

# The interpreter is not instrumented: the runtime must be loaded first, and
# with it the C++ library the module's exceptions unwind through. Freed
# memory is reused at once (no quarantine) so that resident size still tells
# leaks apart; leak detection itself reports the interpreter's own arenas.
# An allocation too large to serve returns null, as the C library's does, so
# that the tests of MemoryError see one instead of the sanitizer's abort.
export LD_PRELOAD="$(g++ -print-file-name=libasan.so) $(g++ -print-file-name=libstdc++.so)"
export ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=0:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export PYTHONPATH="$site"
"$py" -m pytest -q -p no:cacheprovider "$@"
