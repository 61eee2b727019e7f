"""The wheel of dist/, installed into a new virtual environment as a user
would install it. Runs only when `make wheel` left a wheel there that is newer
than every source; a clean checkout skips it and says why."""

import importlib.util
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
    wheel_tool.check(wheel)


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
