#!/usr/bin/env bash
# A profile-guided build of the core, installed into .venv: an instrumented
# build, a training run (the per-call benchmark and the test suite), then the
# build optimised with what the training counted. Takes about twice as long
# as `make build`; the next plain `make build` after a source change goes
# back to a build without a profile.
set -euo pipefail
cd "$(dirname "$0")/.."

profile=build/pgo-profile
rm -rf "$profile"
echo "*** pgo: instrumented build"
ZENOLITH_PGO=generate scripts/install.sh
echo "*** pgo: training (benchmark and tests)"
.venv/bin/python benchmarks/bench_calls.py --rounds 3 >/dev/null
.venv/bin/python -m pytest -q -p no:cacheprovider -x | tail -2
echo "*** pgo: optimised build"
ZENOLITH_PGO=use scripts/install.sh
