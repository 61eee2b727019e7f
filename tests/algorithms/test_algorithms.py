"""zenolith-algorithms: a distribution of its own, versioned with zenolith,
reachable from zenolith by name, and never loaded by `import zenolith`."""

import importlib.metadata
import os
import pathlib
import re
import subprocess
import sys
import tomllib

import pytest

import zenolith
import zenolith_algorithms

ROOT = pathlib.Path(__file__).resolve().parents[2]


def _python(code, cwd):
    """Run code in a fresh interpreter (away from the checkout) and return
    its output; a failure shows its stderr."""
    done = subprocess.run([sys.executable, "-c", code], cwd=cwd, capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return done.stdout.strip()


def test_import_zenolith_loads_no_gpl_code(tmp_path):
    code = ("import sys, zenolith\n"
            "from zenolith import *\n"
            "print(sorted(m for m in sys.modules if m.partition('.')[0] == 'zenolith_algorithms'))")
    assert _python(code, tmp_path) == "[]"


def test_lazy_names_are_the_packages_own(tmp_path):
    assert zenolith._ALGORITHM_NAMES == tuple(zenolith_algorithms.__all__)
    for name in zenolith_algorithms.__all__:
        assert getattr(zenolith, name) is getattr(zenolith_algorithms, name)
    # imported on first access, also through `from zenolith import ...`
    code = ("import sys, zenolith\n"
            "before = 'zenolith_algorithms' in sys.modules\n"
            "from zenolith import library_version\n"
            "print(before, 'zenolith_algorithms' in sys.modules, library_version is zenolith.library_version)")
    assert _python(code, tmp_path) == "False True True"


@pytest.mark.parametrize(("hidden", "access", "error", "text"), [
    # not installed: the error names the extra
    ("zenolith_algorithms", "zenolith.library_version", "ImportError",
     "zenolith.library_version comes from the GPL-licensed distribution zenolith-algorithms, "
     "which is not installed; install it with: pip install 'zenolith[algorithms]'"),
    ("zenolith_algorithms", "from zenolith import library_version", "ImportError",
     "pip install 'zenolith[algorithms]'"),
    # installed but broken: the real cause, not "not installed"
    ("zenolith_algorithms._about", "zenolith.library_version", "ModuleNotFoundError",
     "import of zenolith_algorithms._about halted"),
    # any other unknown name stays an AttributeError
    ("zenolith_algorithms", "zenolith.no_such_name", "AttributeError",
     "module 'zenolith' has no attribute 'no_such_name'"),
])
def test_a_missing_or_unknown_name_says_why(tmp_path, hidden, access, error, text):
    code = (f"import sys; sys.modules[{hidden!r}] = None\n"
            "import zenolith\n"
            "try:\n"
            f"    {access}\n"
            "except Exception as e:\n"
            "    print(type(e).__name__, e, sep=': ')\n")
    kind, _, message = _python(code, tmp_path).partition(": ")
    assert kind == error and text in message


def test_library_version_is_the_one_compiled_against():
    version = zenolith_algorithms.library_version()
    assert re.fullmatch(r"\d+\.\d+(\.\d+)?(-\w+)?", version), version
    # the headers the build used: the system's, or those make check-kernel6 unpacked
    include = os.environ.get("ZENOLITH_KERNEL_INCLUDE", "/usr/include")
    header = pathlib.Path(include, "CGAL", "version.h")
    if header.exists():
        assert re.search(rf"#define CGAL_VERSION {re.escape(version)}\s", header.read_text())


def test_versions_and_pins_move_together():
    root = tomllib.loads((ROOT / "pyproject.toml").read_text())
    algorithms = tomllib.loads((ROOT / "algorithms" / "pyproject.toml").read_text())
    version = root["project"]["version"]
    assert algorithms["project"]["version"] == version
    assert f"zenolith=={version}" in algorithms["project"]["dependencies"]
    assert root["project"]["optional-dependencies"]["algorithms"] == [f"zenolith-algorithms=={version}"]
    assert algorithms["project"]["requires-python"] == root["project"]["requires-python"]
    # the same pybind11 series: the extensions share pybind11's internals
    assert algorithms["build-system"] == root["build-system"]
    # the installed pair agrees too
    assert importlib.metadata.version("zenolith-algorithms") == importlib.metadata.version("zenolith")


def test_the_installed_distribution_is_gpl_and_carries_its_licence():
    meta = importlib.metadata.metadata("zenolith-algorithms")
    assert meta["License-Expression"] == "GPL-3.0-or-later"
    assert set(meta.get_all("License-File")) == {"COPYING", "NOTICE"}
    files = {f.as_posix() for f in importlib.metadata.files("zenolith-algorithms")}
    assert "zenolith_algorithms/py.typed" in files
    assert any(re.fullmatch(r"zenolith_algorithms/_about\..*\.so", f) for f in files)


def test_typed_use_passes_strict_checking():
    # tests/algorithms/typed_algorithms.py: the lazy names are typed through
    # zenolith too, and a misspelt name is still an error there.
    for args in (["mypy", "--strict", "algorithms/python/zenolith_algorithms", "tests/algorithms/typed_algorithms.py"],
                 ["mypy.stubtest", "zenolith_algorithms"]):
        done = subprocess.run([sys.executable, "-m", *args], cwd=ROOT, capture_output=True, text=True)
        assert done.returncode == 0, done.stdout + done.stderr
