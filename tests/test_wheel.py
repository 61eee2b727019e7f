"""The wheels of dist/, installed into a new virtual environment as a user
would install them. Runs only when `make wheel` left wheels there that are
newer than every source; a clean checkout skips it and says why."""

import importlib.metadata
import importlib.util
import os
import pathlib

import pytest

ROOT = pathlib.Path(__file__).resolve().parent.parent

_spec = importlib.util.spec_from_file_location("wheel_tool", ROOT / "scripts" / "wheel.py")
wheel_tool = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(wheel_tool)


def test_fresh_wheel_installs_and_runs_in_a_new_environment():
    wheel, why = wheel_tool.fresh_wheel()
    if wheel is None:
        pytest.skip(why)
    # `make wheel` builds both wheels: a stale one means dist/ is stale
    algorithms, why = wheel_tool.fresh_wheel(wheel_tool.ALGORITHMS)
    if algorithms is None:
        pytest.skip(why)
    wheel_tool.check(wheel, algorithms)


@pytest.mark.parametrize(
    ("name", "runtime"),
    [
        ("libc.so.6", True),
        ("libstdc++.so.6", True),
        ("libgcc_s.so.1", True),
        ("ld-linux-x86-64.so.2", True),
        ("linux-vdso.so.1", True),
        ("libgmp.so.10", False),
        ("libmpfr.so.6", False),
        ("libboost_system.so.1.74.0", False),
        ("libcrypt.so.1", False),
    ],
)
def test_only_the_c_and_cxx_runtimes_count_as_system_libraries(name, runtime):
    assert bool(wheel_tool.RUNTIME.match(name)) is runtime


@pytest.mark.parametrize("dist", ["ZENOLITH", "ALGORITHMS"])
def test_only_a_wheel_newer_than_every_source_counts_as_fresh(tmp_path, monkeypatch, dist):
    dist = getattr(wheel_tool, dist)
    monkeypatch.setattr(wheel_tool, "DIST", tmp_path)
    name, version = wheel_tool.project(dist)
    assert wheel_tool.fresh_wheel(dist)[0] is None
    wheel = tmp_path / f"{name}-{version}-cp312-cp312-manylinux_2_34_x86_64.whl"
    wheel.touch()
    newest = wheel_tool.newest_input(dist)
    os.utime(wheel, (newest - 1, newest - 1))
    found, why = wheel_tool.fresh_wheel(dist)
    assert found is None and "older than the sources" in why
    os.utime(wheel, (newest + 1, newest + 1))
    assert wheel_tool.fresh_wheel(dist) == (wheel, "")
    # an unrepaired wheel, another version or the other distribution's wheel
    # is not this distribution's
    (tmp_path / f"{name}-{version}-cp312-cp312-linux_x86_64.whl").touch()
    (tmp_path / f"{name}-0.0.1-cp312-cp312-manylinux_2_34_x86_64.whl").touch()
    for other in wheel_tool.DISTRIBUTIONS:
        other_name, other_version = wheel_tool.project(other)
        (tmp_path / f"{other_name}-{other_version}-cp312-cp312-manylinux_2_34_x86_64.whl").touch()
    assert wheel_tool.fresh_wheel(dist) == (wheel, "")
    (tmp_path / f"{name}-{version}-cp312-cp312-manylinux_2_35_x86_64.whl").touch()
    assert wheel_tool.fresh_wheel(dist)[0] is None


def test_the_installed_distribution_is_fit_for_an_index():
    meta = importlib.metadata.metadata("zenolith")
    assert meta["Name"] == "zenolith"
    assert meta["Requires-Python"] == "<3.13,>=3.12"
    assert meta["License-Expression"] == "LGPL-3.0-or-later"
    assert meta["Summary"] and meta["Description-Content-Type"] == "text/markdown"
    assert "Project-URL" not in meta and "Home-page" not in meta
    assert set(meta.get_all("Provides-Extra")) == {"plot", "dask", "algorithms"}
    requires = meta.get_all("Requires-Dist")
    assert "numpy>=1.26" in requires
    assert any(r.startswith("matplotlib") and 'extra == "plot"' in r for r in requires)
    assert any(r.startswith("dask[distributed]") and 'extra == "dask"' in r for r in requires)
    assert f'zenolith-algorithms=={meta["Version"]}; extra == "algorithms"' in requires


def test_one_distribution_owns_both_packages():
    # the development environment drops the distribution's former name
    assert list(importlib.metadata.distributions(name="zenolith_core")) == []
    files = importlib.metadata.files("zenolith")
    assert any(f.name.startswith("zenolith_core.") for f in files)
    for native in ("_native.", "_intersections."):
        assert any(f.parts[0] == "zenolith" and f.name.startswith(native) for f in files)
