# Short commands for everyday work. Each one bootstraps what is missing
# (system headers, .venv from CPython 3.12, Python packages) and rebuilds
# the extension incrementally when a source changed.
VENV   := .venv
PY     := $(VENV)/bin/python
STAMP  := $(VENV)/.zenolith-installed
SOURCES := $(shell find src python -type f 2>/dev/null) CMakeLists.txt pyproject.toml

.PHONY: all build demo test bench gallery clean distclean bootstrap

all: build

bootstrap:
	@scripts/bootstrap.sh

$(VENV)/.requirements-installed: requirements-dev.txt scripts/bootstrap.sh
	@scripts/bootstrap.sh

# pip builds in the source tree; scikit-build-core reuses build/ so only
# changed files recompile.
$(STAMP): $(VENV)/.requirements-installed $(SOURCES)
	@scripts/bootstrap.sh
	$(PY) -m pip install --quiet --disable-pip-version-check --no-build-isolation --no-deps .
	@touch $@

build: $(STAMP)

demo: $(STAMP)
	$(PY) examples/tour.py

test: $(STAMP)
	$(PY) -m pytest -q

bench: $(STAMP)
	$(PY) benchmarks/bench_calls.py

gallery: $(STAMP)
	$(PY) examples/gallery.py

clean:
	rm -rf build $(STAMP)

distclean: clean
	rm -rf $(VENV) .pytest_cache .hypothesis
