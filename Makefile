# Short commands for everyday work. Each one bootstraps what is missing
# (system headers, .venv from CPython 3.12, Python packages) and rebuilds
# the extensions incrementally when a source changed.
VENV   := .venv
PY     := $(VENV)/bin/python
READY  := $(VENV)/.requirements-installed
STAMP  := $(VENV)/.zenolith-installed
# Everything the installed distributions are built from: zenolith's two
# extensions (src/) and its Python package (python/), and zenolith-algorithms
# (algorithms/, which includes headers of src/ too); scripts/install.sh
# builds and installs both.
SOURCES := $(shell find src python algorithms cmake -type f ! -path '*/__pycache__/*' 2>/dev/null) \
           CMakeLists.txt pyproject.toml

.PHONY: all build demo test bench gallery snapshot docs clean distclean bootstrap sanitize parallel
.PHONY: wheel wheel-check pgo check-kernel6

all: build

bootstrap:
	@scripts/bootstrap.sh

# Each rule touches its own target, so a changed bootstrap script runs once,
# not on every make.
$(READY): requirements-dev.txt scripts/bootstrap.sh
	@scripts/bootstrap.sh
	@touch $@

# scikit-build-core reuses build/ so only changed files recompile.
$(STAMP): $(READY) $(SOURCES) scripts/install.sh
	@scripts/install.sh
	@touch $@

build: $(STAMP)

demo: $(STAMP)
	$(PY) examples/tour.py

# The same work in one process, a process pool and (when installed) a local
# dask cluster: objects travel to the workers and back by pickle.
parallel: $(STAMP)
	$(PY) examples/parallel.py

test: $(STAMP)
	$(PY) -m pytest -q

# The libraries the benchmarks compare with, installed when their list changed.
BENCH_READY := $(VENV)/.bench-requirements-installed
$(BENCH_READY): requirements-bench.txt $(READY)
	$(PY) -m pip install --quiet --disable-pip-version-check -r requirements-bench.txt
	@touch $@

bench: $(STAMP) $(BENCH_READY)
	$(PY) benchmarks/bench_calls.py
	$(PY) benchmarks/bench_arrays.py
	$(PY) benchmarks/bench_distances.py
	$(PY) benchmarks/bench_pickle.py
	$(PY) benchmarks/bench_objects.py
	$(PY) benchmarks/bench_triangulation.py
	$(PY) benchmarks/bench_polygons.py
	$(PY) benchmarks/bench_mesh.py

gallery: $(STAMP)
	$(PY) examples/gallery.py

# The core built with profile-guided optimisation: instrumented build, a
# training run, optimised build (about twice the time of `make build`).
pgo: $(READY)
	scripts/pgo.sh
	@touch $(STAMP)

# Rewrites tests/core/interface.txt from the installed module; review its diff.
snapshot: $(STAMP)
	$(PY) tests/core/interface_snapshot.py

# zenolith's sdist and portable wheel and zenolith-algorithms' portable wheel
# into dist/ (reusing the build directories), and the check of both wheels
# in a new virtual environment.
wheel: $(READY)
	$(PY) scripts/wheel.py build

wheel-check: wheel
	$(PY) scripts/wheel.py check

# Rewrites docs/api.md from the type stubs of zenolith_core.
docs: $(READY)
	$(PY) scripts/api_docs.py

# The test suite against an AddressSanitizer and UndefinedBehaviorSanitizer
# build of its own (build/sanitize); slow, so not part of `make test`.
sanitize: $(VENV)/.requirements-installed
	scripts/sanitize.sh

# The test suite against a build over the kernel library 6.0 (Debian 13's),
# unpacked from its package into build/kernel6; as slow as a fresh build.
check-kernel6: $(VENV)/.requirements-installed
	scripts/check_kernel6.sh

clean:
	rm -rf build $(STAMP)

distclean: clean
	rm -rf $(VENV) .pytest_cache .hypothesis dist
