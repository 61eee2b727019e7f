"""No GPL code in zenolith's own extensions.

The geometry library licenses its kernel and support headers LGPL, its
algorithm packages GPL. What an extension of the root build really contains
is what its objects included when they were compiled: ninja keeps that list,
from the compiler's dependency output, for every object. Each of the
library's headers on it must carry a licence an LGPL binary may hold. New
targets of the root CMakeLists are checked without edits here."""

import functools
import os
import pathlib
import re
import shutil
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parent.parent
OBJECT = re.compile(r"CMakeFiles/(?P<target>[^/]+)\.dir/.+\.(o|gch)")


def _root_builds():
    """The build directories under build/ configured from the root
    CMakeLists (not those of algorithms/)."""
    for ninja_file in sorted((ROOT / "build").glob("**/build.ninja")):
        cache = ninja_file.parent / "CMakeCache.txt"
        home = re.search(r"^CMAKE_HOME_DIRECTORY:INTERNAL=(.*)$", cache.read_text(), re.M) if cache.exists() else None
        if home and pathlib.Path(home.group(1)).resolve() == ROOT:
            yield ninja_file.parent


def _ninja():
    for candidate in (pathlib.Path(sys.executable).parent / "ninja", shutil.which("ninja")):
        if candidate and os.access(candidate, os.X_OK):
            return str(candidate)
    pytest.skip("no ninja program beside the interpreter or on PATH to read the build's dependency records")


def _deps(build, objects):
    """{object: [its header dependencies]}, or None for an object with no
    record (never compiled)."""
    out = subprocess.run([_ninja(), "-C", build, "-t", "deps", *objects],
                         check=True, capture_output=True, text=True).stdout
    deps, current = {}, None
    for line in out.splitlines():
        if not line.strip():
            continue
        if not line[0].isspace():
            current, _, status = line.partition(": ")
            deps[current] = None if "deps not found" in status else []
        elif current is not None and deps[current] is not None:
            deps[current].append(os.path.normpath(os.path.join(build, line.strip())))
    return deps


def _precompiled_headers(build, objects):
    """{object: the precompiled header object it is compiled with}: its
    headers count as the object's own, though the object's record omits
    them (a target may also reuse another target's precompiled header)."""
    out = subprocess.run([_ninja(), "-C", build, "-t", "commands", "-s", *objects],
                         check=True, capture_output=True, text=True).stdout
    uses = {}
    for line in out.splitlines():
        target, pch = re.search(r"\s-o\s+(\S+)", line), re.search(r"-include\s+(\S+/cmake_pch\.hxx)\s", line)
        if target and pch:
            uses[target.group(1)] = os.path.relpath(pch.group(1) + ".gch", build)
    return uses


@functools.cache
def licence_of(header):
    """The header's SPDX licence expression, or None without one."""
    text = pathlib.Path(header).read_text(errors="replace")
    match = re.search(r"SPDX-License-Identifier:\s*(.+?)\s*(\*/)?\s*$", text, re.M)
    return match.group(1) if match else None


def gpl_only(expression):
    """GPL terms and no LGPL alternative: not for an LGPL binary."""
    terms = re.findall(r"[\w.+-]+", expression)
    return any(t.startswith("GPL") for t in terms) and not any(t.startswith("LGPL") for t in terms)


@pytest.mark.parametrize(("expression", "gpl"), [
    ("LGPL-3.0-or-later OR LicenseRef-Commercial", False),
    ("LGPL-3.0-only", False),
    ("BSL-1.0", False),
    ("LicenseRef-RFL", False),
    ("GPL-3.0-or-later OR LicenseRef-Commercial", True),
    ("( GPL-3.0-or-later OR LicenseRef-Commercial ) AND MIT", True),
])
def test_gpl_only_expressions(expression, gpl):
    assert gpl_only(expression) is gpl


@pytest.mark.parametrize("build", list(_root_builds()) or [None],
                         ids=lambda b: str(b.relative_to(ROOT)) if b else "no-build")
def test_root_extensions_include_no_gpl_header(build):
    if build is None:
        pytest.skip("no build directory of the root CMakeLists under build/ (make build makes one)")
    targets = subprocess.run([_ninja(), "-C", build, "-t", "targets", "all"],
                             check=True, capture_output=True, text=True).stdout
    objects = [line.partition(": ")[0] for line in targets.splitlines()
               if OBJECT.fullmatch(line.partition(": ")[0])]
    assert objects, f"{build}: no compiled objects among ninja's targets"
    deps = _deps(build, objects)
    unbuilt = sorted(o for o in objects if deps.get(o) is None)
    if unbuilt:
        pytest.skip(f"{build}: {len(unbuilt)} objects not compiled yet, e.g. {unbuilt[0]} (make build compiles them)")

    pch = _precompiled_headers(build, objects)
    seen, faults = set(), []
    for obj in objects:
        target = OBJECT.fullmatch(obj)["target"]
        through = deps.get(pch.get(obj, obj)) or []
        if any("CGAL" in pathlib.Path(h).parts for h in (*deps[obj], *through)):
            seen.add(target)
        # a precompiled header's own headers are reported once, under it
        for header in deps[obj]:
            if "CGAL" not in pathlib.Path(header).parts:
                continue
            expression = licence_of(header)
            if expression is None:
                faults.append(f"{target}: {obj} includes {header}, which names no licence")
            elif gpl_only(expression):
                faults.append(f"{target}: {obj} includes {header} ({expression})")
    missing = {OBJECT.fullmatch(o)["target"] for o in objects} - seen
    assert not missing, (f"no header of the geometry library in the dependency records of {sorted(missing)}: "
                         "every extension includes the kernel, so the records were not read right")
    assert not faults, ("GPL-licensed headers in an LGPL extension (they belong in algorithms/):\n"
                        + "\n".join(faults))
